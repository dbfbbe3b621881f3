#pragma once

#include "CError.h"
#include "DemoLoopSequence.h"
#include "DemoLoopSettings.h"
#include "DialogUnits.h"
#include "PictureIds.h"

#include <QDialog>
#include <QFont>

#include <array>

class ColourButton;
class PanelSettings;
class Prompts;
class QCheckBox;
class QComboBox;
class QLineEdit;
class UnitSession;
class UnitTable;
class Waits;

// The demo-loop dialog: chooses the positions, their order and the on and off times, runs the
// loop on the unit, keeps the settings as defaults or in a text file. The main dialog owns it for
// the whole run, so its settings survive between openings; it reaches the unit through the
// session only.
class CDemo : public QDialog, private DemoLoopTimers, private DemoLoopOutput {
    Q_OBJECT

public:
    static constexpr int kPositions = DemoLoopSettings::kPositions;
    static constexpr int kStoppedPicture = pictures::kSwitchOff;
    static constexpr int kRunningPicture = pictures::kSwitchOn;
    static constexpr int kLeaveWaitMs = 200;

    static constexpr const char* kCaption = "Demo Loop Setting";
    static constexpr const char* kInvalidOrderText =
        "Invalid selection or loop order.Please check and try again";
    static constexpr const char* kHdTimesText =
        "If using multiple HD channels (CH-4, 5, 6, 7), please enter at least 2000ms On and 100ms Off time. "
        "Check "
        "and try again";
    static constexpr const char* kNoIntensityText =
        "Please return to the home screen to set the intensity of the selected channel and try again";
    static constexpr const char* kNoOnTimeText = "Please enter ON timer then try again";
    static constexpr const char* kSaveDefaultsText =
        "Do you want to save the current demo settings as default?";
    static constexpr const char* kSaveFailedText = "Failed to save user setting";
    static constexpr const char* kWarningText =
        "If using multiple HD channels (CH4,5,6,7), please enter at least 2000ms ON and 100ms OFF time";
    static constexpr const char* kErrorTitle = "Error";
    static constexpr const char* kActionTitle = "Action";
    static constexpr const char* kInfoTitle = "Info";
    static constexpr const char* kSaveFilter = "*.txt (*.txt)";
    static constexpr const char* kOpenFilters = "Text (*.TXT *.txt);;All (*)";
    static constexpr const char* kFileSuffix = ".txt";

    enum ListIndex { kRead = 0, kSave = 1 };

    CDemo(UnitSession& session, PanelSettings& panelSettings, Prompts& prompts, Waits& waits,
          QWidget* parent = nullptr);
    ~CDemo() override;

    // The names of the channels at the nine panel positions, copied in before each opening.
    std::array<QString, kPositions> m_names;
    void CopyNames(UnitTable& table);

    // Tests run the loop's time themselves; null brings back the window's own timers.
    void SetTimers(DemoLoopTimers* timers);

    // The opening: the stored defaults on the first one, then every control from the settings.
    // Runs each time the dialog is shown.
    void InitDialog();

    void OnSelectClicked(int position);
    void OnOnTimeKillFocus();
    void OnOffTimeKillFocus();
    // Checks the order boxes and the HD rule, telling the user what is wrong.
    bool ValidateDemoSettings();
    // The ON/OFF button: starts a stopped loop, stops a running one.
    void ToggleDemoLoop();
    void OnTimer(int id) { sequence_.OnTimer(id); }
    // RESET SETTING: no position selected, no order; a running loop runs on.
    void ResetSettings();
    // The "User Setting" list: Read or Save.
    void OnUserSetting(int index);
    void ReadDemoFile();
    void SaveDemoFile();
    // MAIN SCREEN (accepted) and closing the dialog (rejected): not while the loop runs.
    void LeaveDemoLoop(int result);
    // The unit's status word changed: an alarm on the loop stops it while the dialog shows.
    void OnUnitStatusChanged();
    // The unit is gone and the panel ends: the loop stops without a word to the unit and the
    // dialog closes without its questions, so that nothing holds the panel open.
    void Abandon();

    DemoLoopSettings& settings() { return settings_; }
    DemoLoopSequence& sequence() { return sequence_; }
    const DialogUnits& units() const { return units_; }

    ColourButton* label(int position) const { return labels_[static_cast<size_t>(position)]; }
    ColourButton* tile(int position) const { return tiles_[static_cast<size_t>(position)]; }
    QCheckBox* selectBox(int position) const { return selects_[static_cast<size_t>(position)]; }
    QLineEdit* orderBox(int position) const { return orders_[static_cast<size_t>(position)]; }
    QLineEdit* onTimeBox() const { return onTime_; }
    QLineEdit* offTimeBox() const { return offTime_; }
    QComboBox* userSettingList() const { return userSetting_; }
    ColourButton* warningLabel() const { return warning_; }
    ColourButton* mainScreenButton() const { return mainScreen_; }
    ColourButton* resetButton() const { return reset_; }
    ColourButton* onOffButton() const { return onOff_; }

public slots:
    // Closing the dialog, never Escape.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The window's timers behind the loop's.
    void Start(int id, int milliseconds) override;
    void Stop(int id) override;
    // The loop's steps on the unit and the tiles.
    void SwitchOn(int position) override;
    void SwitchAllOff() override;
    void ShowTile(int position, Tile tile) override;

    void BuildControls();
    void ShowSelection();
    void ShowOrder();
    void ShowTimes();
    void ShowRunning(bool running);
    bool HasIntensity(int position);
    // The status word of the channel at each position, and the positions the loop switches.
    std::array<uint16_t, kPositions> StatusAtPositions();
    std::array<uint8_t, kPositions> WatchedPositions() const;
    // Tells the user when the light guide or an alarm keeps the loop from starting.
    bool InterlockRefusesStart();
    void Tell(const char* text, const char* title);
    DemoLoopSettings::OrderTexts OrderTexts() const;

    UnitSession& session_;
    PanelSettings& panelSettings_;
    Prompts& prompts_;
    Waits& waits_;
    DemoLoopSettings settings_;
    DemoLoopSequence sequence_;
    DemoLoopTimers* externalTimers_ = nullptr;
    std::array<int, 3> windowTimers_{};  // Qt's id for loop timers 1 and 2; 0 while stopped
    bool defaultsRead_ = false;
    DialogUnits units_;
    QFont labelFont_;

    std::array<ColourButton*, kPositions> labels_{};
    std::array<ColourButton*, kPositions> tiles_{};
    std::array<QCheckBox*, kPositions> selects_{};
    std::array<QLineEdit*, kPositions> orders_{};
    QLineEdit* onTime_ = nullptr;
    QLineEdit* offTime_ = nullptr;
    QComboBox* userSetting_ = nullptr;
    ColourButton* warning_ = nullptr;
    ColourButton* mainScreen_ = nullptr;
    ColourButton* reset_ = nullptr;
    ColourButton* onOff_ = nullptr;
    CError warningPopup_;  // the main screen's warning, for a loop kept from starting
};
