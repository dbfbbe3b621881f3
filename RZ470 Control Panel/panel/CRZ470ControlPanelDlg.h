#pragma once

#include "CDemo.h"
#include "CError.h"
#include "CMainSliderCtrl.h"
#include "CTitle.h"
#include "DemoLoopWindow.h"
#include "HeldKeyFilter.h"
#include "KeyboardFocus.h"
#include "PanelAccessibility.h"
#include "PanelServices.h"
#include "PanelSettings.h"
#include "PanelSliders.h"
#include "ScreenRouter.h"
#include "ScriptCommands.h"
#include "StoreWriteWarning.h"
#include "UnitSession.h"
#include "WindowMenu.h"
#include "WindowUncoveredWatch.h"

#include <QDialog>
#include <QIcon>

// The panel's one window: its frame and size, its pixels on screen, its child widgets and
// auxiliary windows, the start-up and close sequence. The unit session, the settings and the
// screen router do the rest.
class CRZ470ControlPanelDlg : public QDialog {
    Q_OBJECT
    // Assistive technology sees the painted buttons as the window's children.
    Q_CLASSINFO("PaintedButtons", "")

public:
    static constexpr int kClientWidth = 1421;
    static constexpr int kClientHeight = 423;
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
    // One tick of the poll timer.
    void OnTimer() { session_.Tick(); }

    bool hasEnded() const { return ended_; }
    bool isPollTimerRunning() const { return pollTimer_ != 0; }
    UnitSession& session() { return session_; }
    PanelSettings& settings() { return settings_; }
    ScreenRouter& router() { return router_; }
    CTitle& titleWindow() { return title_; }
    // The demo-loop dialog, made at its first use: most sessions never open it.
    CDemo& demoLoop() { return demoLoop_.dialog(); }
    WindowMenu& windowMenu() { return windowMenu_; }
    KeyboardFocus& keyboardFocus() { return keyboardFocus_; }
    PanelAccessibility& accessibility() { return accessibility_; }
    // What scripts read and do, through whichever transport carries them.
    ScriptCommands& scriptCommands() { return scriptCommands_; }
    // The intensity slider of panel k (0..8), or a unit-setting slider (9..11).
    CMainSliderCtrl& slider(int index) { return sliders_.at(index); }

public slots:
    // Cancel (Escape) closes as the EXIT button does: grouping restored, then the save question.
    void reject() override;
    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    bool BindDeviceLibrary();
    // A face that does not register is told, and the substitutes draw instead.
    void CreateFonts();
    void StartPollTimer();
    void StopPollTimer();
    void EndTitlePhase();
    void FollowScreen();
    void ReportAndClose(const QString& text, const QString& title);

    PanelServices services_;
    PanelSettings settings_;
    UnitSession session_;
    PanelSliders sliders_;
    CTitle title_;
    CError errorPopup_;
    DemoLoopWindow demoLoop_;
    WindowMenu windowMenu_;
    ScreenRouter router_;
    KeyboardFocus keyboardFocus_;
    // Only a fresh press of Escape ends the panel, never one held from a dialog it had open.
    HeldKeyFilter heldKeys_;
    PanelAccessibility accessibility_;
    ScriptCommands scriptCommands_;
    // Uncovered or restored, the screen draws again what the surface kept unpolled.
    WindowUncoveredWatch uncoveredWatch_;
    StoreWriteWarning writeWarning_;
    QIcon icon_;

    int pollTimer_ = 0;  // Qt's id of the poll timer, 0 while stopped
    bool closing_ = false;
    bool followingScreen_ = false;
    bool ended_ = false;
};
