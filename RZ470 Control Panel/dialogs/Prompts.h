#pragma once

#include <QString>

// Every modal question the panel asks goes through here, so tests can script the answers.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };

    virtual ~Prompts() = default;

    // A modal message box; returns the button the user chose.
    virtual Answer message(const QString& text, const QString& title, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;
};
