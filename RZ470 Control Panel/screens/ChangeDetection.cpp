#include "ChangeDetection.h"

#include "ScreenRedraws.h"
#include "ScreenStates.h"
#include "UnitTable.h"

#include <cstring>

void DetectChanges(UnitSlot& unit, int screenState, ScreenRedraws& redraws) {
    const bool main = screenState == screens::kMain;
    const bool alarms = screenState == screens::kAlarms;
    for (int k = 0; k < rz470::kChannelCount; ++k) {
        rz470::ChannelRecord& now = unit.channels[static_cast<size_t>(k)];
        rz470::ChannelRecord& shown = unit.shownChannels[static_cast<size_t>(k)];

        if (now.status != shown.status) {
            if (main) {
                redraws.DrawSwitch(k, (now.status & rz470::ChannelStatus::LedOn) != 0);
                shown.status = now.status;
            } else if (alarms) {
                redraws.UpdateAlarmTiles();
                shown.status = now.status;
            }
        }
        if (unit.levelUnknown[static_cast<size_t>(k)]) {
            // Drawn once without a level, then left until one is known: that one differs from
            // the marker and is drawn and stored.
            if (shown.intensity != kNoLevelShown && main) {
                redraws.ShowAndSaveIntensity(k, false);
                shown.intensity = kNoLevelShown;
            }
        } else if (now.intensity != shown.intensity && now.intensity <= rz470::kMaxIntensity && main) {
            redraws.ShowAndSaveIntensity(k, false);
            shown.intensity = now.intensity;
        }
        if (std::strncmp(now.name, shown.name, sizeof now.name) != 0 && main) {
            std::memcpy(shown.name, now.name, sizeof shown.name);
            redraws.DrawChannelName(k);
        }
    }

    if (unit.unitStatus != unit.shownUnitStatus) {
        redraws.DrawStatusIcons();
        if (alarms) {
            redraws.UpdateAlarmTiles();
        }
        unit.shownUnitStatus = unit.unitStatus;
    }
}
