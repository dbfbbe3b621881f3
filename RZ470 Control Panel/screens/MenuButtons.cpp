#include "MenuButtons.h"

#include "PanelPainter.h"
#include "PanelStyle.h"
#include "PictureIds.h"

namespace menubuttons {
namespace {
constexpr int kCaptionY = 374;

constexpr layout::Text Caption(int x, const char* text) {
    return {{x, kCaptionY}, text, layout::Face::Medium, layout::Tone::Caption};
}
constexpr layout::Button MenuPicture(int x) {
    return {{x, 359, 142, 51}, pictures::kMenuButton, pictures::kMenuButtonPressed};
}
}  // namespace

// The EXIT picture serves both looks.
const MenuButton kExit{{{7, 353, 166, 64}, pictures::kExitButton, pictures::kExitButton},
                       Caption(95, "EXIT")};
const MenuButton kDemoLoop{MenuPicture(590), Caption(620, "DEMO LOOP")};
const MenuButton kGrouping{MenuPicture(751), Caption(784, "GROUPING")};
const MenuButton kTrigger{MenuPicture(912), Caption(940, "TTL/Trigger")};
const MenuButton kMaintenance{MenuPicture(1073), Caption(1088, "MAINTENANCE")};
const MenuButton kAlarms{MenuPicture(1234), Caption(1275, "ALARMS")};
const MenuButton kReturnToMain{{{17, 359, 342, 51}, pictures::kReturnButton, pictures::kReturnButtonPressed},
                               Caption(95, "RETURN TO MAIN SCREEN")};
}  // namespace menubuttons

ButtonRow MenuRow(const MenuEntry& entry) {
    const layout::Button& button = entry.button->button;
    ButtonRow row;
    row.region = button.place.region();
    row.place = button.place;
    row.normalPicture = button.picture;
    row.pressedPicture = button.pressedPicture;
    row.caption = entry.button->caption;
    row.captionWhenPressed = entry.captionWhenPressed;
    row.action = entry.action;
    return row;
}

void DrawButtonRow(PanelPainter& painter, const ButtonRow& row, bool pressed, bool withCaption) {
    painter.DrawBitmap(pressed ? row.pressedPicture : row.normalPicture, row.place.x, row.place.y,
                       row.place.width, row.place.height);
    if (withCaption && row.caption.text != nullptr) {
        panelstyle::DrawText(painter, row.caption, row.place);
    }
}
