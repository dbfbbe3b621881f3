#include "MenuScreen.h"

#include "StatusBar.h"
#include "UnitSession.h"

MenuScreen::MenuScreen(ScreenContext& context, const MenuBar& bar, bool withStatusBar)
    : Screen(context), withStatusBar_(withStatusBar) {
    for (const MenuEntry& entry : bar) {
        buttons_.push_back(MenuRow(entry));
    }
}

void MenuScreen::Paint() {
    DrawRows(0, static_cast<int>(buttons_.size()) - 1);
    if (withStatusBar_) {
        ctx_.statusBar.DrawStatusBar(ctx_.session.unit().unitStatus);
    }
}
