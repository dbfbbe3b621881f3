#pragma once

#include <QDialog>

#include <cstdint>

class Prompts;
class QLineEdit;
class QPushButton;

// Asks for one number, with one decimal place or as an unsigned integer. The caller sets the
// public fields, runs the dialog through Prompts::runNumberEntry and reads the fields back; a
// value field changes only when the user entered a number, which m_entered tells.
class NumberEntry : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Entry";
    static constexpr const char* kPromptText = "Enter a Number:";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kInvalidLengthText = "Invalid length of entry!";
    static constexpr const char* kInvalidCharacterText =
        "Invalid character in entry, please use only 0 to 9 and decimal point.";

    // The dialog's own error messages go through prompts.
    explicit NumberEntry(Prompts& prompts, QWidget* parent = nullptr);

    int m_decimalMode = 0;        // nonzero: one decimal place in m_decimalValue; 0: m_value
    float m_decimalValue = 0.0f;  // shown on opening, replaced when a number is entered
    uint16_t m_value = 0;         // shown on opening, replaced when a number is entered
    // Set by a valid OK on a field the user changed. Cancel, or OK on the number shown at the
    // opening, enters nothing and leaves the value fields: that number may be out of date by
    // then, and the caller must not write it back over a change made meanwhile.
    bool m_entered = false;

    // Shows the value of the current mode in the field, selected so typing replaces it. Runs each
    // time the dialog is shown.
    void InitDialog();

    QLineEdit* valueEdit() const { return edit_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

public slots:
    // OK and Enter: checks and converts the text; may end the dialog as cancelled.
    void accept() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    Prompts& prompts_;
    QString openedText_;
    QLineEdit* edit_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
