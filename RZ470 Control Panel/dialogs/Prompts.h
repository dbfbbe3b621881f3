#pragma once

#include <QString>

#include <cstdint>

class CError;
class QDialog;
class CTextEntry;
class NumberEntry;

// Every modal question the panel asks goes through here, so tests can script the answers.
class Prompts {
public:
    enum class Icon { None, Information, Warning, Error, Question };
    enum class Buttons { Ok, YesNo };
    enum class Answer { Ok, Yes, No };
    // The choices of the favourite-grouping options dialog, in the order it offers them.
    enum class FavouriteOption { Save = 200, Load = 201, Delete = 202, Cancel = 203 };

    virtual ~Prompts() = default;

    // A modal message box; returns the button the user chose.
    virtual Answer message(const QString& text, const QString& title, Buttons buttons = Buttons::Ok,
                           Icon icon = Icon::None) = 0;

    // Runs the entry dialog modally. The caller has set its fields and reads them back afterwards;
    // how it closed is in dialog.result(). A dialog built over these prompts reports its own
    // errors through them.
    virtual void runNumberEntry(NumberEntry& dialog) = 0;
    virtual void runTextEntry(CTextEntry& dialog) = 0;

    // Shows the warning of code on the popup, modally, until the user closes it.
    virtual void showError(CError& popup, uint8_t code) = 0;

    // Asks what to do with the chosen favourite grouping; closed any other way, Cancel.
    virtual FavouriteOption favouriteOptions() = 0;

    // The platform's open and save file dialogs with the given filters ("Text (*.txt);;All (*)");
    // the chosen path, or empty when the user cancelled.
    virtual QString openFileName(const QString& filters) = 0;
    virtual QString saveFileName(const QString& filters) = 0;

    // Runs a dialog modally until it ends itself; returns its result.
    virtual int runModal(QDialog& dialog) = 0;

    // Whether dialogs may still be asked for once the open ones are closed.
    enum class Closing { KeepAsking, ForGood };
    // Closes every dialog run here that is still open, innermost first, as if the user had
    // dismissed it, and without its own closing questions: an entry is cancelled, a yes/no
    // question answered No, the favourite options Cancel, a file dialog chosen nothing, a modal
    // dialog rejected. Their callers apply nothing. ForGood: every later one gets that answer at
    // once, without showing.
    virtual void closeOpenDialogs(Closing closing) = 0;
};
