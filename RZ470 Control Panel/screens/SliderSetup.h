#pragma once

#include <QPoint>

#include <array>
#include <optional>

class CMainSliderCtrl;

// How one of the main dialog's twelve sliders is set up.
struct SliderSetup {
    int controlId;
    // The panel position for the nine LED sliders; the unit-setting sliders have none.
    std::optional<int> notifyCode;
    // Top-left corner in the dialog's client area.
    QPoint position;
    int knobPictureId;
    int knobFrameWidth;
    int knobFrameHeight;
    int trackPictureId;
    int thumbShift;
    int minimum;
    int maximum;
};

inline constexpr int kLedSliderCount = 9;
inline constexpr int kSliderCount = 12;

// In set-up order: the nine LED sliders by panel position, then LCD volume, LCD contrast and
// screen-saver timeout, which are never shown.
extern const std::array<SliderSetup, kSliderCount> kSliderSetups;

// Places the slider and configures it, hidden, with the hand cursor. A slider configured twice
// keeps the knob of the first time.
void ConfigureSlider(CMainSliderCtrl& slider, const SliderSetup& setup);
