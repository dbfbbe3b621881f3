#include "AlarmsScreen.h"

#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "UnitSession.h"

#include <QStringList>

using namespace alarmslayout;

namespace {

// The status bits of channel k that count for the tiles.
uint16_t TileBits(const UnitSlot& unit, int k) {
    return unit.channels[static_cast<size_t>(k)].status & 0xFF;
}

bool RaisedOnUnit(const Tile& tile, const UnitSlot& unit) {
    return (unit.unitStatus & tile.unitBitsSet) != 0 || (~unit.unitStatus & tile.unitBitsClear) != 0;
}

}  // namespace

AlarmsScreen::AlarmsScreen(ScreenContext& context) : Screen(context) {
    buttons_.push_back(
        MenuRow({&menubuttons::kReturnToMain, true, [this] { ctx_.router.ChangeScreen(screens::kMain); }}));
    for (const Tile& tile : kTiles) {
        const layout::Place caption = CaptionBox(tile);
        ShownText text;
        text.region = {caption.x, tile.place.y, caption.x + caption.width, caption.y + caption.height};
        text.label = [&tile] { return QString::fromLatin1(tile.caption.text); };
        text.value = [this, &tile] { return AlarmState(tile, ctx_.session.unit()); };
        texts_.push_back(std::move(text));
    }
}

bool AlarmsScreen::IsLit(const Tile& tile, const UnitSlot& unit) {
    uint16_t channelBits = 0;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        channelBits |= TileBits(unit, k);
    }
    return (channelBits & tile.channelBits) != 0 || RaisedOnUnit(tile, unit);
}

QString AlarmsScreen::AlarmState(const Tile& tile, const UnitSlot& unit) {
    // Only what lights the tile: a tile that never lights is never raised.
    if (!tile.canChange() || !IsLit(tile, unit)) {
        return QStringLiteral("clear");
    }
    QStringList where;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        if ((TileBits(unit, k) & tile.channelBits) != 0) {
            where << QStringLiteral("LED %1").arg(k + 1);
        }
    }
    if (RaisedOnUnit(tile, unit)) {
        where << QStringLiteral("the unit");
    }
    return QStringLiteral("raised on ") + where.join(QStringLiteral(", "));
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
