#pragma once

#include "AlarmsLayout.h"
#include "Screen.h"

#include <QString>

struct UnitSlot;

// The eight alarm tiles, dim or lit from the unit's channel and unit status, kept current by the
// poll while the screen is shown.
class AlarmsScreen : public Screen {
public:
    explicit AlarmsScreen(ScreenContext& context);

    // Whether the unit's status lights the tile; only the low byte of a channel's status counts.
    static bool IsLit(const alarmslayout::Tile& tile, const UnitSlot& unit);
    // The tile's state in words: "clear", or where the alarm is raised ("raised on LED 3, LED 5",
    // "raised on the unit").
    static QString AlarmState(const alarmslayout::Tile& tile, const UnitSlot& unit);

    void Paint() override;
    void UpdateAlarmTiles() override;

private:
    void DrawAlarmsScreen();
};
