#pragma once

#include "ButtonRow.h"

#include <vector>

class PanelPainter;

// A captioned picture button of the menu bars; the same data places the picture, the caption
// and the sensitive rectangle.
struct MenuButton {
    layout::Button button;
    layout::Text caption;
};

namespace menubuttons {
// No menu button stands higher; nothing else of a screen stands this low.
constexpr int kBarTop = 353;
extern const MenuButton kExit;
extern const MenuButton kDemoLoop;
extern const MenuButton kGrouping;
extern const MenuButton kTrigger;
extern const MenuButton kMaintenance;
extern const MenuButton kAlarms;
extern const MenuButton kReturnToMain;
}  // namespace menubuttons

// One entry of a screen's menu bar: which button, whether its caption shows while pressed, and
// what its release does.
struct MenuEntry {
    const MenuButton* button;
    bool captionWhenPressed;
    std::function<void()> action;
};
using MenuBar = std::vector<MenuEntry>;

// The button row of a menu entry.
ButtonRow MenuRow(const MenuEntry& entry);
// A row's picture, normal or pressed, with its caption when asked.
void DrawButtonRow(PanelPainter& painter, const ButtonRow& row, bool pressed, bool withCaption);
