#include "SliderSetup.h"

#include "CBitImage.h"
#include "CMainSliderCtrl.h"
#include "MainScreenLayout.h"
#include "PackedArtwork.h"
#include "PictureIds.h"

#include <QCursor>
#include <QHash>
#include <QImage>

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

// The picture as the slider shows it, unpacked from the build's packed file, which is much quicker
// than decoding the bitmap; the nine LED sliders share one. A picture with no packed file is
// decoded as the slider itself would.
CBitImage SliderPicture(int id, int scale, int frameWidth = 0, int frameHeight = 0) {
    static QHash<QPair<int, int>, QImage> unpacked;
    QImage& picture = unpacked[qMakePair(id, scale)];
    if (picture.isNull()) {
        if (const std::optional<PackedPicture> packed = PackedArtwork(id, scale)) {
            picture = packed->Unpack();
            picture.setDevicePixelRatio(scale);
        }
    }
    return picture.isNull() ? CBitImage(id, frameWidth, frameHeight, scale)
                            : CBitImage(picture, frameWidth, frameHeight);
}

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
    const int scale = slider.PictureScale();
    slider.SetThumbBitmap(SliderPicture(setup.knobPictureId, scale, setup.knobFrameWidth, setup.knobFrameHeight));
    const CBitImage track = SliderPicture(setup.trackPictureId, scale);
    slider.SetTrackBitmaps(track, track);
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
