#pragma once

#include <array>
#include <cstdint>

// When the unit stops a running demo loop: the light guide out always does, as it keeps every
// LED from being switched on; a unit alarm does for the positions whose channel reports an alarm
// of its own.
namespace demoalarm {

constexpr uint16_t kAllPositions = 0x1FF;

// Bit i for position i; statusAtPosition holds the status word of the channel shown there.
uint16_t AlarmPositions(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition);

// Whether a unit status that has just changed stops a loop running over the positions flagged in
// looped.
bool StopsLoop(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition,
               const std::array<uint8_t, 9>& looped);

// What keeps a loop over the positions flagged in looped from starting, as the main screen keeps
// an LED from being switched on: the light guide out, or an alarm on a looped position's channel.
enum class StartBlock { None, LightGuideOut, ChannelAlarm };
StartBlock BlocksStart(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition,
                       const std::array<uint8_t, 9>& looped);

}  // namespace demoalarm
