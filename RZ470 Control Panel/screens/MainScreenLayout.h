#pragma once

#include "PanelLayout.h"
#include "PictureIds.h"

// Where everything of the main screen's nine channel panels stands. The painters, the button
// table, the slider set-up and the tests all read it.
namespace mainlayout {

constexpr int kPanelCount = 9;
constexpr int kFirstPanelLeft = 3;
constexpr int kPanelStride = 156;

constexpr int PanelLeft(int panel) {
    return kFirstPanelLeft + kPanelStride * panel;
}

// Places within a panel are counted from the panel's left edge; y from the window's top.

// Buttons, in the order of their ids within the panel (6k + offset).
constexpr layout::Button kNameField{{0, 25, 156, 60}, pictures::kNameField, pictures::kNameField};
constexpr layout::Button kValueBox{{0, 85, 92, 58}, pictures::kValueBox, pictures::kValueBox};
constexpr layout::Button kUpArrow{{0, 143, 92, 70}, pictures::kUpArrow, pictures::kUpArrowPressed};
constexpr layout::Button kDownArrow{{0, 213, 92, 70}, pictures::kDownArrow, pictures::kDownArrowPressed};
// Its pictures are the off and on looks; the pressed one shows the state the click asks for.
constexpr layout::Button kSwitch{{0, 283, 156, 60}, pictures::kSwitchOff, pictures::kSwitchOn};
// The looks of a switch run by the trigger sequence.
constexpr int kTriggeredOffPicture = pictures::kTriggeredOff;
constexpr int kTriggeredOnPicture = pictures::kTriggeredOn;

// Pictures that are no buttons: the slider scale's ends.
constexpr layout::Picture kScaleTop{pictures::kScaleTop, {92, 85, 64, 20}};
constexpr layout::Picture kScaleBottom{pictures::kScaleBottom, {92, 263, 64, 20}};

constexpr layout::Point kNameText{20, 45};
constexpr layout::Point kValueText{14, 105};

// The intensity slider's top-left corner, right of the value box.
constexpr layout::Point kSliderPlace{92, 104};

}  // namespace mainlayout
