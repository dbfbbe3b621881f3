#include "MenuButtons.h"

#include "PanelPainter.h"
#include "PanelStyle.h"

HitRegion MenuButton::region() const {
    return {x,
            y,
            static_cast<uint16_t>(x + width),
            static_cast<uint16_t>(y + height),
            x,
            y,
            width,
            height,
            normalPicture,
            pressedPicture,
            false};
}

namespace menubuttons {
// The EXIT picture serves both looks.
const MenuButton kExit{7, 353, 166, 64, 271, 271, "EXIT", 95};
const MenuButton kDemoLoop{590, 359, 142, 51, 132, 133, "DEMO LOOP", 620};
const MenuButton kGrouping{751, 359, 142, 51, 132, 133, "GROUPING", 784};
const MenuButton kTrigger{912, 359, 142, 51, 132, 133, "TTL/Trigger", 940};
const MenuButton kMaintenance{1073, 359, 142, 51, 132, 133, "MAINTENANCE", 1088};
const MenuButton kAlarms{1234, 359, 142, 51, 132, 133, "ALARMS", 1275};
const MenuButton kReturnToMain{17, 359, 342, 51, 202, 170, "RETURN TO MAIN SCREEN", 95};
}  // namespace menubuttons

void DrawMenuButton(PanelPainter& painter, const MenuButton& button, bool pressed, bool withCaption) {
    painter.DrawBitmap(pressed ? button.pressedPicture : button.normalPicture, button.x, button.y,
                       button.width, button.height);
    if (withCaption) {
        painter.DrawLabel(painter.fonts().medium, panelstyle::kCaption, button.captionX,
                          menubuttons::kCaptionY, QString::fromLatin1(button.caption));
    }
}
