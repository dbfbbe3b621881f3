#include "ScreenRouter.h"

#include "AlarmsScreen.h"
#include "ChangeDetection.h"
#include "GroupingScreen.h"
#include "MainScreen.h"
#include "MaintenanceScreen.h"
#include "PanelArtwork.h"
#include "ScreenStates.h"
#include "TriggerScreen.h"
#include "UnitSession.h"

#include <QWidget>

#include <algorithm>

ScreenRouter::ScreenRouter(QSize size, UnitSession& session, PanelSettings& settings, Prompts& prompts,
                           QWidget& window, CError& errorPopup, LedSliders& ledSliders,
                           WindowRequests requests)
    : canvas_(size, PanelArtwork::pictureScale(window.devicePixelRatioF())),
      painter_(canvas_, fonts_),
      statusBar_(painter_),
      session_(session),
      context_{painter_, statusBar_,          session, settings,   prompts,
               *this,    std::move(requests), window,  errorPopup, ledSliders},
      mainScreen_(std::make_unique<MainScreen>(context_)),
      screenState_(screens::kMain) {
    const auto add = [this](std::unique_ptr<Screen> screen) {
        return otherScreens_.emplace_back(std::move(screen)).get();
    };
    routes_ = {
        {screens::kMain, screens::kMain, mainScreen_.get()},
        {screens::kTriggerFirst, screens::kTriggerLast, add(std::make_unique<TriggerScreen>(context_))},
        {screens::kAlarms, screens::kAlarms, add(std::make_unique<AlarmsScreen>(context_))},
        {screens::kMaintenance, screens::kMaintenance, add(std::make_unique<MaintenanceScreen>(context_))},
        {screens::kGroupingFirst, screens::kGroupingLast, add(std::make_unique<GroupingScreen>(context_))},
    };
    connect(&session, &UnitSession::ValuesRead, this, &ScreenRouter::DetectChanges);
}

ScreenRouter::~ScreenRouter() = default;

Screen& ScreenRouter::ScreenFor(int state) const {
    for (const Route& route : routes_) {
        if (state >= route.firstState && state <= route.lastState) {
            return *route.screen;
        }
    }
    return *mainScreen_;
}

void ScreenRouter::Start() {
    screenState_ = screens::kMain;
    pressedButton_ = 0;
    held_ = false;
    Shown().Enter();
    emit ScreenChanged();
}

void ScreenRouter::ChangeScreen(int state) {
    const bool known = std::any_of(routes_.begin(), routes_.end(), [state](const Route& route) {
        return state >= route.firstState && state <= route.lastState;
    });
    Shown().Leave();
    screenState_ = known ? state : screens::kMain;
    Shown().Enter();
    PaintScreen();
    emit ScreenChanged();
}

void ScreenRouter::PaintScreen() {
    painter_.DrawBackground();
    Shown().Paint();
}

void ScreenRouter::Press(int x, int y) {
    Screen& screen = Shown();
    pressedButton_ = FindButton(screen.Buttons(), x, y);
    held_ = pressedButton_ != kNoButton;
    if (held_) {
        screen.DrawPressed(pressedButton_);
    }
}

void ScreenRouter::Release() {
    Screen& screen = Shown();
    const int released = pressedButton_;
    held_ = false;
    if (screen.ForgetsPressOnRelease()) {
        pressedButton_ = kNoButton;
    }
    // A button that is not in this screen's table does nothing.
    screen.Release(released);
}

void ScreenRouter::DetectChanges() {
    ::DetectChanges(session_.unit(), screenState_, redraws_ != nullptr ? *redraws_ : Shown());
}
