#pragma once

#include "PanelLayout.h"
#include "PictureIds.h"
#include "RZ470Api.h"

#include <cstdint>
#include <iterator>

// Where everything of the alarms screen stands and which status bits light each tile. The
// painters and the tests read it.
namespace alarmslayout {

constexpr layout::Picture kFrame{pictures::kAlarmFrame, {5, 29, 790, 312}};
constexpr layout::Place TilePlace(int x, int y) {
    return {x, y, 101, 107};
}
constexpr layout::Text TileCaption(int x, int y, const char* text) {
    return {{x, y}, text, layout::Face::Small, layout::Tone::FrameText};
}

// A tile with its caption below it. It is lit when any channel's status has one of channelBits,
// when the unit status has one of unitBitsSet, or when it lacks one of unitBitsClear. A tile
// without a lit picture never changes.
struct Tile {
    layout::Text caption;
    layout::Place place;
    int normalPicture;
    int litPicture;
    uint16_t channelBits;
    uint16_t unitBitsSet;
    uint16_t unitBitsClear;

    constexpr bool canChange() const { return litPicture != 0; }
};

enum TileId { MaxTemp, MinTemp, ModuleFail, LightGuide, Comms, Watchdog, Nvm, Performance, kTileCount };

namespace cs = rz470::ChannelStatus;
namespace us = rz470::UnitStatus;

// In drawing order, left to right, top row first.
constexpr Tile kTiles[kTileCount] = {
    {TileCaption(62, 160, "Max Temp Exceeded"), TilePlace(72, 50), pictures::kMaxTempTile,
     pictures::kMaxTempTileLit, cs::OverTemperature, 0, 0},
    {TileCaption(246, 160, "Min Temp Exceeded"), TilePlace(256, 50), pictures::kMinTempTile,
     pictures::kMinTempTileLit, cs::UnderTemperature, 0, 0},
    {TileCaption(438, 160, "LED Module Fail"), TilePlace(436, 50), pictures::kModuleFailTile,
     pictures::kModuleFailTileLit, cs::CurrentAlarm, 0, 0},
    {TileCaption(605, 160, "Light Guide Not Present"), TilePlace(623, 50), pictures::kLightGuideTile,
     pictures::kLightGuideTileLit, 0, 0, us::LightGuideInserted},
    // The unit reports nothing that would light these two.
    {TileCaption(82, 310, "Comms Error"), TilePlace(72, 200), pictures::kCommsTile, 0, 0, 0, 0},
    {TileCaption(250, 310, "Watchdog Timeout"), TilePlace(256, 200), pictures::kWatchdogTile, 0, 0, 0, 0},
    {TileCaption(460, 310, "NVM Fail"), TilePlace(436, 200), pictures::kNvmTile, pictures::kNvmTileLit,
     cs::NvmError, us::NvmFailure, 0},
    {TileCaption(612, 310, "System Performance"), TilePlace(623, 200), pictures::kPerformanceTile,
     pictures::kPerformanceTileLit, 0, us::PerformanceAlarm, 0},
};

// The lines of the frame that part its four columns, and its edges.
constexpr int kColumnEdges[] = {5, 214, 396, 580, 795};
constexpr int kCaptionHeight = 30;

// Where a tile's caption may be written: the tile's column, from the tile's foot down.
constexpr layout::Place CaptionBox(const Tile& tile) {
    int column = 0;
    while (column + 2 < int(std::size(kColumnEdges)) && tile.place.x >= kColumnEdges[column + 1]) {
        ++column;
    }
    return {kColumnEdges[column], tile.place.y + tile.place.height,
            kColumnEdges[column + 1] - kColumnEdges[column], kCaptionHeight};
}

// The order in which the tiles that can change are drawn again.
constexpr TileId kRedrawOrder[] = {MaxTemp, MinTemp, ModuleFail, Nvm, Performance, LightGuide};

}  // namespace alarmslayout
