#pragma once

#include <QDialog>
#include <QString>

#include <cstdint>

class QLabel;
class QLineEdit;
class QPushButton;

// Asks for an LED channel's name, offering the LED's wavelength as a ready-made one. The caller
// sets the public fields, runs the dialog through Prompts::runTextEntry and reads m_name back
// when m_entered is set: after OK on a changed field it holds the text cut to LedName::kMaxLength
// characters. After Cancel, or OK on the name as it was shown, nothing is entered and m_name keeps
// what the caller put in. A text the panel cannot keep as written (LedName::Refusal) is not taken:
// OK then says why under the field and leaves it open.
class CTextEntry : public QDialog {
    Q_OBJECT

public:
    static constexpr const char* kCaption = "Text Entry";
    static constexpr const char* kRangeCaption = "WaveLength Range: %1-%2nm";
    static constexpr const char* kPromptText = "Enter LED Text Name:";
    static constexpr const char* kUseWavelengthText = "Use Wavelength as Name";
    // Units from this software version on report their LEDs' wavelength ranges.
    static constexpr uint16_t kRangeCaptionVersion = 140;

    explicit CTextEntry(QWidget* parent = nullptr);

    QString m_name;  // shown on opening, replaced on an OK that enters a name
    // Set by OK on a field the user changed (typed, or filled with the wavelength). An unchanged
    // name is not entered: cut to eight characters it would be another name, and the caller must
    // not write it back over a rename made meanwhile.
    bool m_entered = false;
    uint16_t m_wavelength = 0;   // nm
    uint16_t m_rangeLow = 0;     // nm
    uint16_t m_rangeHigh = 0;    // nm
    uint16_t m_unitVersion = 0;  // the unit's first software version number

    // Shows m_name and sets the caption. Runs each time the dialog is shown.
    void InitDialog();

    QLineEdit* nameEdit() const { return edit_; }
    QPushButton* useWavelengthButton() const { return useWavelength_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    // Why OK did not take the text; hidden until then.
    QLabel* refusalLabel() const { return refusal_; }

public slots:
    void accept() override;
    // Puts "<wavelength>nm" into the field; the user may still change it before OK.
    void OnUseWavelength();

protected:
    void showEvent(QShowEvent* event) override;

private:
    // Empty: hidden. The dialog takes the size the text needs.
    void ShowRefusal(const QString& refusal);

    QString openedText_;
    QLineEdit* edit_;
    QPushButton* useWavelength_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QLabel* refusal_ = nullptr;
};
