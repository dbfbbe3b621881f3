#include "NavigationScreen.h"

#include "MenuButtons.h"
#include "PanelStyle.h"
#include "StatusBar.h"
#include "UnitTable.h"

namespace {

using namespace menubuttons;

int ToMain(int) {
    return screens::kMain;
}
int ToAlarms(int) {
    return screens::kAlarms;
}
int ToMaintenance(int) {
    return screens::kMaintenance;
}
int ToTrigger(int openedLed) {
    return screens::kTriggerFirst + openedLed;
}
int ToGrouping(int openedLed) {
    return screens::kGroupingFirst + openedLed;
}

// RETURN TO MAIN SCREEN and MAINTENANCE keep their caption while pressed.
const NavigationScreen::Link kReturnLink{&kReturnToMain, ToMain, true};
const NavigationScreen::Link kMaintenanceLink{&kMaintenance, ToMaintenance, true};
const NavigationScreen::Link kAlarmsLink{&kAlarms, ToAlarms, false};

}  // namespace

NavigationScreen::NavigationScreen(ScreenContext& context, std::vector<Link> links, bool withStatusBar)
    : Screen(context), links_(std::move(links)), withStatusBar_(withStatusBar) {
    for (const Link& link : links_) {
        buttons_.push_back(link.button->region());
    }
}

void NavigationScreen::Paint() {
    PaintContent();
    for (const Link& link : links_) {
        DrawMenuButton(ctx_.painter, *link.button, false, true);
    }
    if (withStatusBar_) {
        ctx_.statusBar.DrawStatusBar(ctx_.table.unit().unitStatus);
    }
}

void NavigationScreen::DrawPressed(int id) {
    const Link& link = links_[static_cast<size_t>(id)];
    DrawMenuButton(ctx_.painter, *link.button, true, link.captionWhenPressed);
}

void NavigationScreen::Release(int id) {
    if (id == kNoButton) {
        return;
    }
    const Link& link = links_[static_cast<size_t>(id)];
    // The released picture comes back without its caption; the new screen follows at once.
    DrawMenuButton(ctx_.painter, *link.button, false, false);
    ctx_.host.ChangeScreen(link.target(OpenedLed()));
}

AlarmsScreen::AlarmsScreen(ScreenContext& context) : NavigationScreen(context, {kReturnLink}, true) {}

MaintenanceScreen::MaintenanceScreen(ScreenContext& context)
    : NavigationScreen(context, {kReturnLink}, true) {}

TriggerScreen::TriggerScreen(ScreenContext& context)
    : NavigationScreen(context, {kReturnLink, {&kGrouping, ToGrouping, false}, kMaintenanceLink, kAlarmsLink},
                       true) {}

int TriggerScreen::OpenedLed() const {
    return ctx_.host.ScreenState() - screens::kTriggerFirst;
}

GroupingScreen::GroupingScreen(ScreenContext& context)
    : NavigationScreen(context, {kReturnLink, {&kTrigger, ToTrigger, false}, kMaintenanceLink, kAlarmsLink},
                       false) {}

int GroupingScreen::OpenedLed() const {
    return ctx_.host.ScreenState() - screens::kGroupingFirst;
}
