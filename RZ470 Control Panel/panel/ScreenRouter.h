#pragma once

#include "PanelFont.h"
#include "PanelPainter.h"
#include "Screen.h"
#include "StatusBar.h"
#include "SurfaceCanvas.h"

#include <QObject>
#include <QSize>

#include <memory>
#include <vector>

class MainScreen;

// The window's pixels and what is drawn on them: the surface, the painter, the status bar and
// the screens. One table maps screen states to screens; a change of screen lets the old one hide
// its child widgets and the new one show its own. Presses and releases go to the screen shown,
// and so do the poll's redraws.
class ScreenRouter : public QObject, public ScreenRedraws {
    Q_OBJECT

public:
    ScreenRouter(QSize size, UnitSession& session, PanelSettings& settings, Prompts& prompts, QWidget& window,
                 CError& errorPopup, LedSliders& ledSliders);
    ~ScreenRouter() override;

    // The main screen becomes the one shown, with no button pressed.
    void Start();
    void SetFonts(const PanelFont::Fonts& fonts) { fonts_ = fonts; }

    // Sets the screen state (an unknown one means the main screen) and paints it at once.
    void ChangeScreen(int state);
    // Redraws the whole screen named by the screen state.
    void PaintScreen();
    // The window was uncovered or restored: the screen shown draws again what it keeps unpolled.
    void WindowUncovered() { Shown().Uncovered(); }
    // The left button pressed at client pixel (x, y), and released.
    void Press(int x, int y);
    void Release();

    // A screen's button asks the window to close or to run the demo loop.
    void RequestClose() { emit CloseRequested(); }
    void RequestDemoLoop() { emit DemoLoopRequested(); }

    // Compares the unit with what is shown and redraws what changed.
    void DetectChanges();
    // Lets tests watch the redraws the poll asks for.
    void SetRedraws(ScreenRedraws& redraws) { redraws_ = &redraws; }

    int ScreenState() const { return screenState_; }
    int PressedButton() const { return pressedButton_; }
    // The button pressed and not yet released, or kNoButton.
    int HeldButton() const { return held_ ? pressedButton_ : kNoButton; }
    const Screen& ShownScreen() const { return Shown(); }
    const SurfaceCanvas& surface() const { return canvas_; }
    SurfaceCanvas& surface() { return canvas_; }
    MainScreen& mainScreen() { return *mainScreen_; }

    void DrawSwitch(int panel, bool on) override { Shown().DrawSwitch(panel, on); }
    void ShowAndSaveIntensity(int panel, bool fromSlider) override {
        Shown().ShowAndSaveIntensity(panel, fromSlider);
    }
    void DrawChannelName(int panel) override { Shown().DrawChannelName(panel); }
    void DrawStatusIcons() override { Shown().DrawStatusIcons(); }
    void UpdateAlarmTiles() override { Shown().UpdateAlarmTiles(); }

signals:
    // Another screen, or another variant of one, is shown and painted.
    void ScreenChanged();
    void CloseRequested();
    void DemoLoopRequested();
    // The poll found the unit's status word changed (the demo loop watches it for alarms).
    void UnitStatusChanged();

private:
    struct Route {
        int firstState, lastState;
        Screen* screen;
    };

    Screen& ScreenFor(int state) const;
    Screen& Shown() const { return ScreenFor(screenState_); }

    SurfaceCanvas canvas_;
    PanelFont::Fonts fonts_;
    PanelPainter painter_;
    StatusBar statusBar_;
    UnitSession& session_;
    ScreenContext context_;
    std::unique_ptr<MainScreen> mainScreen_;
    std::vector<std::unique_ptr<Screen>> otherScreens_;
    std::vector<Route> routes_;
    ScreenRedraws* redraws_ = this;
    int screenState_;
    int pressedButton_ = 0;
    bool held_ = false;
};
