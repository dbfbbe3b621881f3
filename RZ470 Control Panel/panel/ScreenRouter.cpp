#include "ScreenRouter.h"

#include "AlarmsScreen.h"
#include "ChangeDetection.h"
#include "GroupingScreen.h"
#include "MainScreen.h"
#include "MaintenanceScreen.h"
#include "MenuScreen.h"
#include "PanelArtwork.h"
#include "ScreenStates.h"
#include "UnitSession.h"

#include <QWidget>

#include <algorithm>

ScreenRouter::ScreenRouter(QSize size, UnitSession& session, PanelSettings& settings, Prompts& prompts,
                           QWidget& window, CError& errorPopup, LedSliders& ledSliders)
    : canvas_(size, PanelArtwork::pictureScale(window.devicePixelRatioF())),
      painter_(canvas_, fonts_),
      statusBar_(painter_),
      session_(session),
      context_{painter_, statusBar_, session, settings, prompts, *this, window, errorPopup, ledSliders},
      mainScreen_(std::make_unique<MainScreen>(context_)),
      screenState_(screens::kMain) {
    using namespace menubuttons;
    const auto toScreen = [this](int state) { return [this, state] { ChangeScreen(state); }; };
    // The trigger and grouping screens lead to each other with the same LED opened.
    const auto keepingLed = [this](int from, int to) {
        return [this, from, to] { ChangeScreen(to + screenState_ - from); };
    };
    const MenuEntry toMain{&kReturnToMain, true, toScreen(screens::kMain)};
    const MenuEntry toMaintenance{&kMaintenance, true, toScreen(screens::kMaintenance)};
    const MenuEntry toAlarms{&kAlarms, false, toScreen(screens::kAlarms)};
    const MenuBar triggerBar = {
        toMain,
        {&kGrouping, false, keepingLed(screens::kTriggerFirst, screens::kGroupingFirst)},
        toMaintenance,
        toAlarms};

    const auto add = [this](std::unique_ptr<Screen> screen) {
        return otherScreens_.emplace_back(std::move(screen)).get();
    };
    routes_ = {
        {screens::kMain, screens::kMain, mainScreen_.get()},
        {screens::kTriggerFirst, screens::kTriggerLast,
         add(std::make_unique<MenuScreen>(context_, triggerBar, true))},
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
    Shown().Enter();
}

void ScreenRouter::ChangeScreen(int state) {
    const bool known = std::any_of(routes_.begin(), routes_.end(), [state](const Route& route) {
        return state >= route.firstState && state <= route.lastState;
    });
    Shown().Leave();
    screenState_ = known ? state : screens::kMain;
    Shown().Enter();
    PaintScreen();
}

void ScreenRouter::PaintScreen() {
    painter_.DrawBackground();
    Shown().Paint();
}

void ScreenRouter::Press(int x, int y) {
    Screen& screen = Shown();
    pressedButton_ = FindButton(screen.Buttons(), x, y);
    if (pressedButton_ != kNoButton) {
        screen.DrawPressed(pressedButton_);
    }
}

void ScreenRouter::Release() {
    Screen& screen = Shown();
    const int released = pressedButton_;
    if (screen.ForgetsPressOnRelease()) {
        pressedButton_ = kNoButton;
    }
    // A button that is not in this screen's table does nothing.
    screen.Release(released);
}

void ScreenRouter::DetectChanges() {
    ::DetectChanges(session_.unit(), screenState_, *redraws_, [this] { emit UnitStatusChanged(); });
}
