#pragma once

#include "RZ470Api.h"

#include <array>
#include <cstdint>

// The unit's grouping and trigger set-up as the panel holds it.
struct GroupingState {
    static constexpr int kGroupCount = 6;

    uint8_t groupingMode = 0;  // 0 off, 1 four-channel compatible, 2 six-channel compatible
    std::array<uint8_t, rz470::kChannelCount> ledGroup{};  // group number per channel, 0 = none
    // Members of groups 1..6 (row 0 unused): LED numbers 1..9, then zeros.
    std::array<std::array<uint8_t, rz470::kTableWidth>, kGroupCount + 1> groupMembers{};
    std::array<uint8_t, rz470::kTableWidth> triggerSequence{};
    std::array<uint16_t, rz470::kTableWidth> ttlTimeout{};
};

struct DeviceApi;

// Reads the group lists, the trigger sequence and the TTL timeouts of the unit at deviceIndex,
// and derives each channel's group number from the lists. Nothing changes when the unit is
// not active.
void ReadGroupingAndTrigger(DeviceApi& api, uint16_t deviceIndex, GroupingState& state);

// Each channel's group from the member lists; entries outside 1..9 from the unit are ignored.
void DeriveLedGroups(GroupingState& state);
