#include "MenuButtons.h"

#include "PanelPainter.h"
#include "PanelStyle.h"

#include <QString>

namespace menubuttons {
// The EXIT picture serves both looks.
const MenuButton kExit{{7, 353, 166, 64}, 271, 271, "EXIT", 95};
const MenuButton kDemoLoop{{590, 359, 142, 51}, 132, 133, "DEMO LOOP", 620};
const MenuButton kGrouping{{751, 359, 142, 51}, 132, 133, "GROUPING", 784};
const MenuButton kTrigger{{912, 359, 142, 51}, 132, 133, "TTL/Trigger", 940};
const MenuButton kMaintenance{{1073, 359, 142, 51}, 132, 133, "MAINTENANCE", 1088};
const MenuButton kAlarms{{1234, 359, 142, 51}, 132, 133, "ALARMS", 1275};
const MenuButton kReturnToMain{{17, 359, 342, 51}, 202, 170, "RETURN TO MAIN SCREEN", 95};
}  // namespace menubuttons

ButtonRow MenuRow(const MenuEntry& entry) {
    const MenuButton& button = *entry.button;
    ButtonRow row;
    row.region = button.place.region();
    row.place = button.place;
    row.normalPicture = button.normalPicture;
    row.pressedPicture = button.pressedPicture;
    row.caption = {button.caption, button.captionX, menubuttons::kCaptionY};
    row.captionWhenPressed = entry.captionWhenPressed;
    row.action = entry.action;
    return row;
}

void DrawButtonRow(PanelPainter& painter, const ButtonRow& row, bool pressed, bool withCaption) {
    painter.DrawBitmap(pressed ? row.pressedPicture : row.normalPicture, row.place.x, row.place.y,
                       row.place.width, row.place.height);
    if (withCaption && row.caption.text != nullptr) {
        painter.DrawLabel(painter.fonts().medium,
                          row.caption.heading ? panelstyle::kHeading : panelstyle::kCaption, row.caption.x,
                          row.caption.y, QString::fromLatin1(row.caption.text));
    }
}
