#pragma once

#include "HitRegion.h"

#include <QString>

class PanelPainter;

// A captioned picture button of the menu bars; the same data places the picture, the caption
// and the sensitive rectangle.
struct MenuButton {
    uint16_t x, y, width, height;
    uint16_t normalPicture, pressedPicture;
    const char* caption;
    uint16_t captionX;

    HitRegion region() const;
};

namespace menubuttons {
constexpr int kCaptionY = 374;
extern const MenuButton kExit;
extern const MenuButton kDemoLoop;
extern const MenuButton kGrouping;
extern const MenuButton kTrigger;
extern const MenuButton kMaintenance;
extern const MenuButton kAlarms;
extern const MenuButton kReturnToMain;
}  // namespace menubuttons

// Draws the button's normal or pressed picture, with its caption when withCaption is set.
void DrawMenuButton(PanelPainter& painter, const MenuButton& button, bool pressed, bool withCaption);
