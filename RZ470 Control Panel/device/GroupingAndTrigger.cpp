#include "GroupingAndTrigger.h"

#include <algorithm>

void GroupingAndTrigger::DeriveLedGroups() {
    ledGroup.fill(0);
    // A channel listed in two groups ends up in the higher-numbered one.
    for (uint8_t group = 1; group <= kGroupCount; ++group) {
        for (const uint8_t led : groupMembers[group]) {
            if (led == 0) {
                break;
            }
            if (led <= rz470::kChannelCount) {
                ledGroup[led - 1u] = group;
            }
        }
    }
}

bool GroupingAndTrigger::ExceedsMode() const {
    const uint8_t highest = MaxGroup();
    return std::any_of(ledGroup.begin(), ledGroup.end(),
                       [highest](uint8_t group) { return group > highest; });
}

void GroupingAndTrigger::RebuildGroupMembers() {
    for (auto& row : groupMembers) {
        row.fill(0);
    }
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        const uint8_t group = ledGroup[static_cast<size_t>(c)];
        if (group == 0 || group > kGroupCount) {
            continue;
        }
        auto& row = groupMembers[group];
        // Nine channels fit any row: there is always a free entry.
        *std::find(row.begin(), row.end(), uint8_t(0)) = static_cast<uint8_t>(c + 1);
    }
}
