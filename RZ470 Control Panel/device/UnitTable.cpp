#include "UnitTable.h"

void UnitTable::Prepare() {
    for (UnitSlot& slot : unitSlots) {
        slot = UnitSlot{};
        for (rz470::ChannelRecord& record : slot.channels) {
            record.intensity = rz470::kMaxIntensity;
        }
    }
    for (uint8_t position = 0; position < panelMap.size(); ++position) {
        panelMap[position] = position;
    }
}
