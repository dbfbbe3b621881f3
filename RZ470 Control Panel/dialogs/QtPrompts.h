#pragma once

#include "Prompts.h"

#include <QPointer>

#include <vector>

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
    // A modal dialog of command links over the parent window.
    FavouriteOption favouriteOptions() override;

    static constexpr const char* kOptionsTitle = "Options";
    static constexpr const char* kOptionsInstruction = "Please Save/Load/Delete";
    static constexpr const char* kOptionsContent = "Select Option";
    QString openFileName(const QString& filters) override;
    QString saveFileName(const QString& filters) override;
    int runModal(QDialog& dialog) override;
    void closeOpenDialogs(Closing closing) override;

private:
    // Runs dialog modally, known as open meanwhile; once closed for good, rejected unshown.
    int run(QDialog& dialog);

    QWidget* parent_;
    std::vector<QPointer<QDialog>> open_;  // outermost first
    bool closedForGood_ = false;
};
