#pragma once

// The numbers the screen state takes; no other place defines them.
namespace screens {
constexpr int kMain = 1;
constexpr int kTriggerFirst = 2;  // trigger screen with LED 1 opened; + k for LED k + 1
constexpr int kTriggerLast = 10;
constexpr int kAlarms = 12;
constexpr int kMaintenance = 13;
constexpr int kGroupingFirst = 15;  // grouping screen with LED 1 opened; + k for LED k + 1
constexpr int kGroupingLast = 23;
}  // namespace screens
