#pragma once

#include "OpenedLedStrip.h"

// Where the grouping screen's own parts stand; the strip and the opened panel's controls are
// the shared ones of OpenedLedStrip.h. Plain C++, so the build-time tools can read it.
namespace groupinglayout {

struct Place {
    int x, y, width, height;
};

constexpr int kClosedPanelPicture = 281;
constexpr int kClosedPanelHeight = 144;
constexpr int kOpenedPanelPicture = 280;  // shows the caption Group Number above its field
constexpr int kOpenedPanelHeight = 149;

// The group number row of the panels.
constexpr openedstrip::ValueRow kGroupRow{111, 113, 121, 118, 108};
constexpr int kClearCaptionDx = 159;

// The compatibility-mode switches; neither shows a pressed look.
constexpr Place kPelionSwitch{1072, 98, 153, 67};
constexpr Place kZephraSwitch{1072, 165, 153, 67};
constexpr int kSwitchDark = 173;
constexpr int kSwitchLit = 174;

// Load/Save: painted at x = 1076, but pressed and released one pixel further left.
constexpr Place kLoadSave{1076, 240, 142, 51};
constexpr int kLoadSavePicture = 132;
constexpr int kLoadSavePressedPicture = 133;
constexpr int kLoadSavePressedX = 1075;
constexpr int kLoadSaveCaptionX = 1109;
constexpr int kLoadSaveCaptionY = 255;

}  // namespace groupinglayout
