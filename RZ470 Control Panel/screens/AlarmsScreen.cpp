#include "AlarmsScreen.h"

#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "UnitSession.h"

using namespace alarmslayout;

AlarmsScreen::AlarmsScreen(ScreenContext& context) : Screen(context) {
    buttons_.push_back(
        MenuRow({&menubuttons::kReturnToMain, true, [this] { ctx_.router.ChangeScreen(screens::kMain); }}));
}

bool AlarmsScreen::IsLit(const Tile& tile, const UnitSlot& unit) {
    uint16_t channelBits = 0;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        channelBits |= unit.channels[static_cast<size_t>(k)].status & 0xFF;
    }
    return (channelBits & tile.channelBits) != 0 || (unit.unitStatus & tile.unitBitsSet) != 0 ||
           (~unit.unitStatus & tile.unitBitsClear) != 0;
}

void AlarmsScreen::Paint() {
    DrawAlarmsScreen();
    ctx_.statusBar.DrawStatusBar(ctx_.session.unit().unitStatus);
    UpdateAlarmTiles();
}

void AlarmsScreen::DrawAlarmsScreen() {
    PanelPainter& painter = ctx_.painter;
    painter.DrawPicture(kFrame);
    for (const Tile& tile : kTiles) {
        painter.DrawPicture(tile.normalPicture, tile.place);
    }
    for (const Tile& tile : kTiles) {
        panelstyle::DrawText(painter, tile.caption, CaptionBox(tile));
    }
    DrawRows(0, 0);
}

void AlarmsScreen::UpdateAlarmTiles() {
    const UnitSlot& unit = ctx_.session.unit();
    for (TileId id : kRedrawOrder) {
        const Tile& tile = kTiles[id];
        ctx_.painter.DrawPicture(IsLit(tile, unit) ? tile.litPicture : tile.normalPicture, tile.place);
    }
}
