#include "GroupingState.h"

#include "DeviceApi.h"

void ReadGroupingAndTrigger(DeviceApi& api, uint16_t deviceIndex, GroupingState& state) {
    if (api.DeviceActive(deviceIndex) == 0) {
        return;
    }
    for (uint8_t group = 1; group <= GroupingState::kGroupCount; ++group) {
        api.GetGrouping(deviceIndex, group, state.groupMembers[group].data(), rz470::kTableWidth);
    }
    DeriveLedGroups(state);
    api.GetTTLSequencing(deviceIndex, state.triggerSequence.data(), rz470::kTableWidth);
    api.GetTTLTimeout(deviceIndex, state.ttlTimeout.data(), rz470::kTableWidth);
}

void DeriveLedGroups(GroupingState& state) {
    state.ledGroup.fill(0);
    // A channel listed in two groups ends up in the higher-numbered one.
    for (uint8_t group = 1; group <= GroupingState::kGroupCount; ++group) {
        for (const uint8_t led : state.groupMembers[group]) {
            if (led == 0) {
                break;
            }
            if (led <= rz470::kChannelCount) {
                state.ledGroup[led - 1u] = group;
            }
        }
    }
}
