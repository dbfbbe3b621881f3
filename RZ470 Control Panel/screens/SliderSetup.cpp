#include "SliderSetup.h"

#include "CMainSliderCtrl.h"
#include "MainScreenLayout.h"
#include "PictureIds.h"

#include <QCursor>

namespace {

constexpr int kLedKnob = pictures::kLedSliderKnob;
constexpr int kLedTrack = pictures::kLedSliderTrack;
constexpr int kUnitKnob = pictures::kSystemSliderKnob;
constexpr int kUnitTrack = pictures::kSystemSliderTrack;

constexpr QPoint LedPlace(int panel) {
    return QPoint(mainlayout::PanelLeft(panel) + mainlayout::kSliderPlace.x, mainlayout::kSliderPlace.y);
}

// The unit-setting sliders are never shown, so their place does not matter.
constexpr QPoint kHidden(0, 0);

}  // namespace

// clang-format off
const std::array<SliderSetup, kSliderCount> kSliderSetups = {{
    // id  code          place        knob       frame   track       shift range
    {1000, 0,            LedPlace(0), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1001, 1,            LedPlace(1), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1002, 2,            LedPlace(2), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1003, 3,            LedPlace(3), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1007, 4,            LedPlace(4), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1008, 5,            LedPlace(5), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1009, 6,            LedPlace(6), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1010, 7,            LedPlace(7), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1011, 8,            LedPlace(8), kLedKnob,  59, 26, kLedTrack,  -14, 0, 1000},
    {1004, std::nullopt, kHidden,     kUnitKnob, 53, 27, kUnitTrack, -15, 0, 255},  // LCD volume
    {1005, std::nullopt, kHidden,     kUnitKnob, 53, 27, kUnitTrack, -15, 0, 255},  // LCD contrast
    {1006, std::nullopt, kHidden,     kUnitKnob, 53, 27, kUnitTrack, -15, 0, 100},  // screen-saver timeout
}};
// clang-format on

void ConfigureSlider(CMainSliderCtrl& slider, const SliderSetup& setup) {
    slider.move(setup.position);
    slider.hide();
    slider.SetCursor(QCursor(Qt::PointingHandCursor));
    slider.SetThumbBitmap(setup.knobPictureId, setup.knobFrameWidth, setup.knobFrameHeight);
    slider.SetTrackBitmaps(setup.trackPictureId, setup.trackPictureId);
    slider.SetThumbShift(setup.thumbShift);
    if (setup.notifyCode) {
        slider.SetNotifyCode(*setup.notifyCode);
    }
    slider.SetThumbOffset(0);
    slider.setMinimum(setup.minimum);
    slider.setMaximum(setup.maximum);
    // Steps of zero keep keys from moving it; the slider also swallows them.
    slider.setSingleStep(0);
}
