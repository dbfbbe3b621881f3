#pragma once

#include "Prompts.h"

class QWidget;

// The real prompts: Qt's modal dialogs over the given parent window.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    void runNumberEntry(NumberEntry& dialog) override;
    void runTextEntry(CTextEntry& dialog) override;
    void showError(CError& popup, uint8_t code) override;
    QString openFileName(const QString& filters) override;
    QString saveFileName(const QString& filters) override;
    int runModal(QDialog& dialog) override;

private:
    QWidget* parent_;
};
