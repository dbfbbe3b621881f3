#include "StatusBar.h"

#include "PanelPainter.h"
#include "PanelStyle.h"
#include "PictureIds.h"
#include "RZ470Api.h"

namespace {

struct Indicator {
    uint16_t bit;
    layout::Place icon;
    int dimPicture, litPicture;
    layout::BoxedText label;
};

constexpr layout::Place Icon(int x) {
    return {x, 0, 31, 18};
}
constexpr int kBarHeight = 25;
// A label runs to the next icon, or to the window's edge.
constexpr layout::BoxedText Label(int x, int nextIconX, const char* text) {
    return {{{x, 1}, text, layout::Face::Small, layout::Tone::StatusLabel},
            {x, 0, nextIconX - x, kBarHeight}};
}

// In drawing order.
constexpr Indicator kIndicators[] = {
    {rz470::UnitStatus::LightGuideInserted, Icon(433), pictures::kBulbDim, pictures::kBulbLit,
     Label(473, 846, "Light Guide Inserted")},
    {rz470::UnitStatus::KnobLocked, Icon(20), pictures::kPadlockDim, pictures::kPadlockLit,
     Label(60, 433, "RotaKNOB Locked")},
    {rz470::UnitStatus::AlarmActive, Icon(846), pictures::kBellDim, pictures::kBellLit,
     Label(886, 1259, "Alarm")},
    {rz470::UnitStatus::LedOn, Icon(1259), pictures::kLedOnDim, pictures::kLedOnLit,
     Label(1300, 1421, "LED on")},
};
// Labels go left to right.
constexpr int kLabelOrder[] = {1, 0, 2, 3};

}  // namespace

void StatusBar::DrawStatusIcons(uint16_t unitStatus) {
    for (const Indicator& indicator : kIndicators) {
        const bool lit = (unitStatus & indicator.bit) != 0;
        painter_.DrawPicture(lit ? indicator.litPicture : indicator.dimPicture, indicator.icon);
    }
}

void StatusBar::DrawStatusBar(uint16_t unitStatus) {
    DrawStatusIcons(unitStatus);
    for (int index : kLabelOrder) {
        panelstyle::DrawText(painter_, kIndicators[index].label);
    }
}
