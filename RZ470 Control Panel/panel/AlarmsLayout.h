#pragma once

#include "PanelLayout.h"
#include "PictureIds.h"
#include "RZ470Api.h"

#include <cstdint>

// Where everything of the alarms screen stands and which status bits light each tile. The
// painters and the tests read it.
namespace alarmslayout {

constexpr layout::Picture kFrame{pictures::kAlarmFrame, {5, 29, 790, 312}};
constexpr int kTileWidth = 101;
constexpr int kTileHeight = 107;

// A tile with its caption below it. It is lit when any channel's status has one of channelBits,
// when the unit status has one of unitBitsSet, or when it lacks one of unitBitsClear. A tile
// without a lit picture never changes.
struct Tile {
    const char* caption;
    int x, y;
    int captionX, captionY;
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
    {"Max Temp Exceeded", 72, 50, 62, 160, pictures::kMaxTempTile, pictures::kMaxTempTileLit,
     cs::OverTemperature, 0, 0},
    {"Min Temp Exceeded", 256, 50, 246, 160, pictures::kMinTempTile, pictures::kMinTempTileLit,
     cs::UnderTemperature, 0, 0},
    {"LED Module Fail", 436, 50, 438, 160, pictures::kModuleFailTile, pictures::kModuleFailTileLit,
     cs::CurrentAlarm, 0, 0},
    {"Light Guide Not Present", 623, 50, 605, 160, pictures::kLightGuideTile, pictures::kLightGuideTileLit, 0,
     0, us::LightGuideInserted},
    // The unit reports nothing that would light these two.
    {"Comms Error", 72, 200, 82, 310, pictures::kCommsTile, 0, 0, 0, 0},
    {"Watchdog Timeout", 256, 200, 250, 310, pictures::kWatchdogTile, 0, 0, 0, 0},
    {"NVM Fail", 436, 200, 460, 310, pictures::kNvmTile, pictures::kNvmTileLit, cs::NvmError, us::NvmFailure,
     0},
    {"System Performance", 623, 200, 612, 310, pictures::kPerformanceTile, pictures::kPerformanceTileLit, 0,
     us::PerformanceAlarm, 0},
};

// The order in which the tiles that can change are drawn again.
constexpr TileId kRedrawOrder[] = {MaxTemp, MinTemp, ModuleFail, Nvm, Performance, LightGuide};

}  // namespace alarmslayout
