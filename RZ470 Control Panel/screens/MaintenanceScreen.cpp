#include "MaintenanceScreen.h"

#include "MaintenanceLayout.h"
#include "MaintenanceTexts.h"
#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "ProductVersion.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "UnitSession.h"

#include <iterator>

using namespace maintenancelayout;

MaintenanceScreen::MaintenanceScreen(ScreenContext& context)
    : Screen(context), panelVersion_(ReadProductVersion(QStringLiteral("ProductVersion"))) {
    buttons_.push_back(
        MenuRow({&menubuttons::kReturnToMain, true, [this] { ctx_.router.ChangeScreen(screens::kMain); }}));
    const auto shown = [](const layout::BoxedText& caption, const layout::Place& frame,
                          std::function<QString()> value) {
        return ShownText{frame.region(), [&caption] { return QString::fromUtf8(caption.text.text); },
                         std::move(value)};
    };
    texts_.push_back(shown(kCaptions[2], kErrorListBox, [this] {
        return shownErrors_.isEmpty() ? QStringLiteral("none") : shownErrors_.join(QStringLiteral("; "));
    }));
    texts_.push_back(shown(kCaptions[0], kVersionBox, [this] { return shownVersion_; }));
    texts_.push_back(shown(kCaptions[1], kSerialBox, [this] { return shownSerial_; }));
}

void MaintenanceScreen::Paint() {
    DrawMaintenanceScreen();
    DrawRows(0, 0);
    ctx_.statusBar.DrawStatusBar(ctx_.session.unit().unitStatus);
    DrawMaintenanceValues();
}

void MaintenanceScreen::Uncovered() {
    // Every frame but the screen's own: the error list's and the two values'.
    for (size_t i = 1; i < std::size(kFrames); ++i) {
        ctx_.painter.DrawPicture(kFrames[i]);
    }
    DrawMaintenanceValues();
}

void MaintenanceScreen::DrawMaintenanceScreen() {
    PanelPainter& painter = ctx_.painter;
    for (const layout::Picture& frame : kFrames) {
        painter.DrawPicture(frame);
    }
    for (const layout::BoxedText& caption : kCaptions) {
        panelstyle::DrawText(painter, caption);
    }
}

void MaintenanceScreen::DrawMaintenanceValues() {
    PanelPainter& painter = ctx_.painter;
    const QFont& font = painter.fonts().small;
    const UnitSlot& unit = ctx_.session.unit();
    shownVersion_ = maintenancetexts::VersionText(unit.firmwareVersion, panelVersion_);
    shownSerial_ = maintenancetexts::SerialText(unit);
    shownErrors_ = maintenancetexts::ErrorLines(unit);
    painter.DrawLabel(font, panelstyle::kFrameText, kVersionText.x, kVersionText.y, shownVersion_,
                      kVersionBox);
    painter.DrawLabel(font, panelstyle::kFrameText, kSerialText.x, kSerialText.y, shownSerial_, kSerialBox);
    int y = kFirstErrorLineY;
    for (const QString& line : shownErrors_) {
        painter.DrawLabel(font, panelstyle::kFrameText, kErrorLineX, y, line, kErrorListBox);
        y += kErrorLineStep;
    }
}
