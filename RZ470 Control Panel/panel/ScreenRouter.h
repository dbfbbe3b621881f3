#pragma once

#include "PanelFont.h"
#include "PanelPainter.h"
#include "Screen.h"
#include "ScreenNavigation.h"
#include "StatusBar.h"
#include "SurfaceCanvas.h"

#include <QSize>

#include <memory>
#include <vector>

class MainScreen;

// The window's pixels and what is drawn on them: the surface, the painter, the status bar and
// the screens. One table maps screen states to screens; a change of screen lets the old one hide
// its child widgets and the new one show its own. Presses and releases go to the screen shown,
// and so do the poll's redraws.
class ScreenRouter : public ScreenNavigation {
    Q_OBJECT

public:
    ScreenRouter(QSize size, UnitSession& session, PanelSettings& settings, Prompts& prompts, QWidget& window,
                 CError& errorPopup, LedSliders& ledSliders, WindowRequests requests);
    ~ScreenRouter() override;

    // The main screen becomes the one shown, with no button pressed.
    void Start();
    void SetFonts(const PanelFont::Fonts& fonts) { fonts_ = fonts; }

    void ChangeScreen(int state) override;
    void PaintScreen() override;
    // The window was uncovered or restored: the screen shown draws again what it keeps unpolled.
    void WindowUncovered() { Shown().Uncovered(); }
    void WindowMoved() { Shown().Moved(); }
    void Press(int x, int y) override;
    void Release() override;

    // Compares the unit with what is shown and redraws what changed.
    void DetectChanges();
    // Lets tests watch the redraws the poll asks for instead of the screen shown.
    void SetRedraws(ScreenRedraws& redraws) { redraws_ = &redraws; }

    int ScreenState() const override { return screenState_; }
    int PressedButton() const { return pressedButton_; }
    int HeldButton() const override { return held_ ? pressedButton_ : kNoButton; }
    const Screen& ShownScreen() const override { return Shown(); }
    // The shown screen's redraws, for a change made elsewhere than on the screen.
    ScreenRedraws& ShownRedraws() { return Shown(); }
    const SurfaceCanvas& surface() const { return canvas_; }
    SurfaceCanvas& surface() { return canvas_; }
    MainScreen& mainScreen() { return *mainScreen_; }

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
    ScreenRedraws* redraws_ = nullptr;
    int screenState_;
    int pressedButton_ = 0;
    bool held_ = false;
};
