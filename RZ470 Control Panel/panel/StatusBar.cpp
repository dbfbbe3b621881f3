#include "StatusBar.h"

#include "PanelPainter.h"
#include "PanelStyle.h"
#include "PictureIds.h"
#include "RZ470Api.h"

#include <QString>

namespace {

struct Indicator {
    uint16_t bit;
    uint16_t dimPicture, litPicture;
    int iconX;
    const char* label;
    int labelX;
};

constexpr int kIconY = 0;
constexpr int kIconWidth = 31;
constexpr int kIconHeight = 18;
constexpr int kLabelY = 1;

// In drawing order.
constexpr Indicator kIndicators[] = {
    {rz470::UnitStatus::LightGuideInserted, pictures::kBulbDim, pictures::kBulbLit, 433,
     "Light Guide Inserted", 473},
    {rz470::UnitStatus::KnobLocked, pictures::kPadlockDim, pictures::kPadlockLit, 20, "RotaKNOB Locked", 60},
    {rz470::UnitStatus::AlarmActive, pictures::kBellDim, pictures::kBellLit, 846, "Alarm", 886},
    {rz470::UnitStatus::LedOn, pictures::kLedOnDim, pictures::kLedOnLit, 1259, "LED on", 1300},
};
// Labels go left to right.
constexpr int kLabelOrder[] = {1, 0, 2, 3};

}  // namespace

void StatusBar::DrawStatusIcons(uint16_t unitStatus) {
    for (const Indicator& indicator : kIndicators) {
        const bool lit = (unitStatus & indicator.bit) != 0;
        painter_.DrawBitmap(lit ? indicator.litPicture : indicator.dimPicture, indicator.iconX, kIconY,
                            kIconWidth, kIconHeight);
    }
}

void StatusBar::DrawStatusBar(uint16_t unitStatus) {
    DrawStatusIcons(unitStatus);
    for (int index : kLabelOrder) {
        const Indicator& indicator = kIndicators[index];
        painter_.DrawLabel(painter_.fonts().small, panelstyle::kStatusLabel, indicator.labelX, kLabelY,
                           QString::fromLatin1(indicator.label));
    }
}
