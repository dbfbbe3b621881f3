#pragma once

#include <array>
#include <cstdint>

// When a unit alarm stops a running demo loop: with the light guide out every position counts,
// otherwise the positions whose channel reports an alarm of its own.
namespace demoalarm {

constexpr uint16_t kAllPositions = 0x1FF;

// Bit i for position i; statusAtPosition holds the status word of the channel shown there.
uint16_t AlarmPositions(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition);

// Whether a unit status that has just changed stops a loop running over the positions flagged in
// looped.
bool StopsLoop(uint16_t unitStatus, const std::array<uint16_t, 9>& statusAtPosition,
               const std::array<uint8_t, 9>& looped);

}  // namespace demoalarm
