#include "UnitTable.h"

#include <algorithm>

bool UnitSlot::anyLevelUnknown() const {
    return std::any_of(levelUnknown.begin(), levelUnknown.end(), [](bool unknown) { return unknown; });
}

void UnitSlot::holdLevel(size_t c, uint16_t level) {
    if (c >= levelUnknown.size()) {
        return;
    }
    channels[c].intensity = level;
    levelUnknown[c] = false;
    levelHeld[c] = true;
}

void UnitSlot::takeReportedLevel(size_t c, uint16_t level) {
    if (c >= levelUnknown.size()) {
        return;
    }
    const bool junk = level > rz470::kMaxIntensity;
    // No made-up level: an unknown one is shown as none and never sent.
    channels[c].intensity = junk ? 0 : level;
    levelUnknown[c] = junk;
    levelHeld[c] = false;
}

void UnitTable::Prepare() {
    for (UnitSlot& slot : unitSlots) {
        slot = UnitSlot{};
        for (rz470::ChannelRecord& record : slot.channels) {
            record.intensity = rz470::kMaxIntensity;
        }
        for (rz470::ChannelRecord& shown : slot.shownChannels) {
            shown.intensity = kNothingShown;
        }
    }
    for (uint8_t position = 0; position < panelMap.size(); ++position) {
        panelMap[position] = position;
    }
}
