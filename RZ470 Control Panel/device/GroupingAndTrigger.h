#pragma once

#include "RZ470Api.h"

#include <array>
#include <cstdint>

// The unit's grouping and TTL trigger tables as the panel holds them.
struct GroupingAndTrigger {
    static constexpr int kGroupCount = 6;
    static constexpr uint8_t kModeCount = 3;
    // The highest group each mode allows.
    static constexpr std::array<uint8_t, kModeCount> kMaxGroup{0, 4, 6};

    uint8_t groupingMode = 0;  // 0 off, 1 four-channel compatible, 2 six-channel compatible
    std::array<uint8_t, rz470::kChannelCount> ledGroup{};  // group number per channel, 0 = none
    // Members of groups 1..6 (row 0 unused): LED numbers 1..9, then zeros.
    std::array<std::array<uint8_t, rz470::kTableWidth>, kGroupCount + 1> groupMembers{};
    std::array<uint8_t, rz470::kTableWidth> triggerSequence{};
    std::array<uint16_t, rz470::kTableWidth> ttlTimeout{};

    // The highest group the present mode allows; a mode the unit reported outside 0..2 allows none.
    uint8_t MaxGroup() const { return groupingMode < kModeCount ? kMaxGroup[groupingMode] : 0; }
    // Whether a channel's group is above what the present mode allows.
    bool ExceedsMode() const;

    // Each channel's group from the member lists; entries outside 1..9 from the unit are ignored.
    void DeriveLedGroups();
    // The member lists from each channel's group, LED numbers in channel order; group numbers
    // outside 1..6 join no list.
    void RebuildGroupMembers();
};
