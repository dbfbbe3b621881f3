#pragma once

#include "OpenedLedStrip.h"
#include "PanelLayout.h"
#include "PictureIds.h"

// Where the grouping screen's own parts stand; the strip and the opened panel's controls are
// the shared ones of OpenedLedStrip.h.
namespace groupinglayout {

constexpr int kClosedPanelPicture = pictures::kGroupingPanelClosed;
constexpr int kClosedPanelHeight = 144;
constexpr int kOpenedPanelPicture =
    pictures::kGroupingPanelOpened;  // shows the caption Group Number above its field
constexpr int kOpenedPanelHeight = 149;

// The group number row of the panels.
constexpr openedstrip::ValueRow kGroupRow{111, 113, 121, 118, 108};
constexpr int kClearCaptionDx = 159;

// The compatibility-mode switches; neither shows a pressed look.
constexpr layout::Place kPelionSwitch{1072, 98, 153, 67};
constexpr layout::Place kZephraSwitch{1072, 165, 153, 67};
constexpr int kSwitchDark = pictures::kModeSwitchDark;
constexpr int kSwitchLit = pictures::kModeSwitchLit;

// Load/Save: painted at x = 1076, but pressed and released one pixel further left.
constexpr layout::Button kLoadSave{{1076, 240, 142, 51}, pictures::kMenuButton, pictures::kMenuButtonPressed};
constexpr int kLoadSavePressedDx = -1;
constexpr layout::Text kLoadSaveCaption{
    {1109, 255}, "Load/Save", layout::Face::Medium, layout::Tone::Heading};

}  // namespace groupinglayout
