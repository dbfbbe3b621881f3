#include "DemoAlarmStop.h"

#include "RZ470Api.h"

namespace demoalarm {

uint16_t AlarmPositions(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition) {
    if ((unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        return kAllPositions;
    }
    uint16_t mask = 0;
    for (size_t i = 0; i < statusAtPosition.size(); ++i) {
        if ((statusAtPosition[i] & rz470::ChannelStatus::AlarmMask) != 0) {
            mask |= static_cast<uint16_t>(1u << i);
        }
    }
    return mask;
}

bool StopsLoop(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition,
               const std::array<uint8_t, 9>& looped) {
    if ((unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        return true;
    }
    if ((unitStatus & rz470::UnitStatus::AlarmActive) == 0) {
        return false;
    }
    const uint16_t mask = AlarmPositions(unitStatus, statusAtPosition);
    if (mask == kAllPositions) {
        return true;
    }
    for (size_t i = 0; i < looped.size(); ++i) {
        if (looped[i] != 0 && (mask & (1u << i)) != 0) {
            return true;
        }
    }
    return false;
}

StartBlock BlocksStart(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition,
                       const std::array<uint8_t, 9>& looped) {
    if ((unitStatus & rz470::UnitStatus::LightGuideInserted) == 0) {
        return StartBlock::LightGuideOut;
    }
    for (size_t i = 0; i < looped.size(); ++i) {
        if (looped[i] != 0 && (statusAtPosition[i] & rz470::ChannelStatus::AlarmMask) != 0) {
            return StartBlock::ChannelAlarm;
        }
    }
    return StartBlock::None;
}

}  // namespace demoalarm
