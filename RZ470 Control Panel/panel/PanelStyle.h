#pragma once

#include <QColor>

// Text colours of the painted screens.
namespace panelstyle {
inline const QColor kCaption(189, 198, 198);      // menu and RETURN button captions, labels
inline const QColor kHeading(187, 193, 196);      // headings and instructions
inline const QColor kStatusLabel(132, 132, 132);  // status bar labels
inline const QColor kValue(132, 255, 132);        // channel names and values
}  // namespace panelstyle

// The screen numbers ScreenState takes.
namespace screens {
constexpr int kMain = 1;
constexpr int kTriggerFirst = 2;  // trigger screen with LED 1 opened; + k for LED k + 1
constexpr int kTriggerLast = 10;
constexpr int kAlarms = 12;
constexpr int kMaintenance = 13;
constexpr int kGroupingFirst = 15;  // grouping screen with LED 1 opened; + k for LED k + 1
constexpr int kGroupingLast = 23;

constexpr bool isTrigger(int state) {
    return state >= kTriggerFirst && state <= kTriggerLast;
}
constexpr bool isGrouping(int state) {
    return state >= kGroupingFirst && state <= kGroupingLast;
}
constexpr bool isValid(int state) {
    return state == kMain || isTrigger(state) || state == kAlarms || state == kMaintenance ||
           isGrouping(state);
}
}  // namespace screens
