#include "GroupingAndTrigger.h"

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
