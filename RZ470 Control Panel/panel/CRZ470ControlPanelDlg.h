#pragma once

#include "CError.h"
#include "CMainSliderCtrl.h"
#include "CTitle.h"
#include "Canvas.h"
#include "DeviceApi.h"
#include "GroupingState.h"
#include "MainScreen.h"
#include "NavigationScreen.h"
#include "PanelFont.h"
#include "PanelPainter.h"
#include "PanelServices.h"
#include "ScreenRedraws.h"
#include "SliderSetup.h"
#include "StatusBar.h"
#include "StatusPoller.h"
#include "UnitDiscovery.h"
#include "UnitStateReader.h"
#include "UnitTable.h"

#include <QDialog>
#include <QIcon>

#include <array>
#include <cstdint>
#include <memory>

// The panel's one window. It owns the state of the run and routes events to the screens.
class CRZ470ControlPanelDlg : public QDialog,
                              private PollHost,
                              private UnitStateListener,
                              private ScreenRedraws,
                              private ScreenHost {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 1421;
    static constexpr int kClientHeight = 423;
    static constexpr int kMainScreen = 1;
    static constexpr int kPollTimerId = 1;
    static constexpr int kPollPeriodMs = 50;

    explicit CRZ470ControlPanelDlg(const PanelServices& services, QWidget* parent = nullptr);
    ~CRZ470ControlPanelDlg() override;

    // Initialises and runs the dialog modally; returns how it ended.
    int DoModal();

    // Runs the start-up steps; the dialog may already have ended when this returns.
    bool InitDialog();
    // Restores the unit's grouping mode and offers to save the unit's settings.
    void CloseDialog();
    // The close message: CloseDialog, then the dialog ends.
    void SendCloseMessage();
    // One tick of the poll timer (id 1).
    void OnTimer();

    bool hasEnded() const { return ended_; }
    bool isPollTimerRunning() const { return pollTimer_ != 0; }
    DeviceApi& deviceApi() { return api_; }
    UnitTable& unitTable() { return table_; }
    GroupingState& grouping() { return grouping_; }
    StatusPoller& poller() { return poller_; }
    const SurfaceCanvas& surface() const { return canvas_; }
    CTitle& titleWindow() { return title_; }

    int screenState() const { return screenState_; }
    int pressedButton() const { return pressedButton_; }
    MainScreen& mainScreen() { return mainScreen_; }
    // The intensity slider of panel k (0..8), or a unit-setting slider (9..11).
    CMainSliderCtrl& slider(int index) { return *sliders_[static_cast<size_t>(index)]; }

    // Redraws the whole screen named by the screen state.
    void PaintScreen();
    // The left button pressed and released at client pixel (x, y).
    void OnLButtonDown(int x, int y);
    void OnLButtonUp();
    // Lets tests watch the redraws the poll asks for.
    void setRedraws(ScreenRedraws& redraws) { poller_.setRedraws(redraws); }

public slots:
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void customEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    void ExtendSystemMenu();
    void ConfigureSliders();
    bool BindDeviceLibrary();
    void ReadProductVersion();
    void StartPollTimer();
    bool CreateFonts();
    void RefreshSliders();

    // PollHost
    int CurrentScreen() const override { return screenState_; }
    bool HasEnded() const override { return ended_; }
    void ReadUnitState() override;
    void StopPollTimer() override;
    void EndTitlePhase() override;
    void ReportUnitNotFound() override;

    // UnitStateListener
    void GroupingNotCleared() override;

    // ScreenRedraws
    void DrawSwitch(int panel, bool on) override { mainScreen_.DrawSwitch(panel, on); }
    void ShowAndSaveIntensity(int panel, bool fromSlider) override {
        mainScreen_.ShowAndSaveIntensity(panel, fromSlider);
    }
    void DrawChannelName(int panel) override { mainScreen_.DrawChannelName(panel); }
    void DrawStatusIcons() override { statusBar_.DrawStatusIcons(table_.unit().unitStatus); }
    void UpdateAlarmTiles() override {}
    void CheckDemoLoopAlarm(const UnitSlot&) override {}

    // ScreenHost
    int ScreenState() const override { return screenState_; }
    void ChangeScreen(int state) override;
    void ShowLedSliders() override;
    void HideLedSliders() override;
    void SetSliderPosition(int panel, int position) override;
    void RunDemoLoop() override;
    QWidget* Window() override { return this; }
    CError& ErrorPopup() override { return errorPopup_; }

    Screen& CurrentScreen();

    PanelServices services_;
    DeviceApi api_;
    UnitTable table_;
    GroupingState grouping_;
    UnitDiscovery discovery_;
    UnitStateReader stateReader_;
    StatusPoller poller_;
    SurfaceCanvas canvas_;
    PanelFont::Fonts fonts_;
    PanelPainter painter_;
    StatusBar statusBar_;
    ScreenContext screenContext_;
    MainScreen mainScreen_;
    TriggerScreen triggerScreen_;
    AlarmsScreen alarmsScreen_;
    MaintenanceScreen maintenanceScreen_;
    GroupingScreen groupingScreen_;
    CTitle title_;
    CError errorPopup_;
    std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> sliders_;
    QIcon icon_;

    int screenState_ = kMainScreen;
    int pressedButton_ = 0;
    int pollTimer_ = 0;  // Qt's id of the poll timer, 0 while stopped
    bool closing_ = false;
    bool ended_ = false;
};
