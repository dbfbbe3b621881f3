#include "Screen.h"

#include "MenuButtons.h"
#include "StatusBar.h"
#include "UnitSession.h"

void Screen::DrawPressed(int id) {
    const ButtonRow& row = buttons_[static_cast<size_t>(id)];
    DrawButtonRow(ctx_.painter, row, true, row.captionWhenPressed);
}

void Screen::Release(int id) {
    if (id < 0 || id >= static_cast<int>(buttons_.size())) {
        return;
    }
    const ButtonRow& row = buttons_[static_cast<size_t>(id)];
    if (!row.keepOnRelease) {
        DrawButtonRow(ctx_.painter, row, false, row.captionOnRelease);
    }
    // A copy: the action may change screens, and a screen may rebuild its table on entering.
    const std::function<void()> action = row.action;
    if (action) {
        action();
    }
}

void Screen::DrawStatusIcons() {
    ctx_.statusBar.DrawStatusIcons(ctx_.session.unit().unitStatus);
}

void Screen::DrawRows(int first, int last) {
    for (int id = first; id <= last; ++id) {
        DrawButtonRow(ctx_.painter, buttons_[static_cast<size_t>(id)], false, true);
    }
}
