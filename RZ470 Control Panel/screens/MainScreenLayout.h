#pragma once

// Where everything of the main screen's nine channel panels stands. The painters, the button
// table, the slider set-up, the artwork preview and the tests all read it; plain C++, so the
// build-time tools can too.
namespace mainlayout {

constexpr int kPanelCount = 9;
constexpr int kFirstPanelLeft = 3;
constexpr int kPanelStride = 156;

constexpr int PanelLeft(int panel) {
    return kFirstPanelLeft + kPanelStride * panel;
}

// A rectangle within a panel: dx from the panel's left edge, y from the window's top.
struct Box {
    int dx, y, width, height;
};

// A picture of a panel, or a button with its released and pressed pictures.
struct Element {
    Box box;
    int picture;
    int pressedPicture;
};

struct TextPlace {
    int dx, y;
};

// Buttons, in the order of their ids within the panel (6k + offset).
constexpr Element kNameField{{0, 25, 156, 60}, 163, 163};
constexpr Element kValueBox{{0, 85, 92, 58}, 143, 143};
constexpr Element kUpArrow{{0, 143, 92, 70}, 168, 169};
constexpr Element kDownArrow{{0, 213, 92, 70}, 166, 167};
// Its pictures are the off and on looks; the pressed one shows the state the click asks for.
constexpr Element kSwitch{{0, 283, 156, 60}, 164, 165};
// The looks of a switch run by the trigger sequence.
constexpr int kTriggeredOffPicture = 129;
constexpr int kTriggeredOnPicture = 178;

// Pictures that are no buttons: the slider scale's ends.
constexpr Element kScaleTop{{92, 85, 64, 20}, 232, 232};
constexpr Element kScaleBottom{{92, 263, 64, 20}, 231, 231};

constexpr TextPlace kNameText{20, 45};
constexpr TextPlace kValueText{14, 105};

// The intensity slider's top-left corner, right of the value box.
constexpr TextPlace kSliderPlace{92, 104};

}  // namespace mainlayout
