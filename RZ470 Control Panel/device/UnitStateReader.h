#pragma once

#include "RZ470Api.h"
#include "StoredChannelValues.h"

#include <array>
#include <cstdint>

struct DeviceApi;
struct GroupingAndTrigger;
struct UnitSlot;
class Waits;

// The full read of the unit once it is found: versions, grouping switched off, the channel
// fields, names and intensities from what the panel stored by wavelength, the intensities sent
// back and the grouping and trigger tables.
class UnitStateReader {
public:
    static constexpr int kAttempts = 20;
    static constexpr int kAttemptWaitMs = 50;

    UnitStateReader(DeviceApi& api, Waits& waits, StoredChannelValues stored)
        : api_(api), waits_(waits), stored_(std::move(stored)) {}

    // False when the unit kept its grouping switched on, or would not confirm it off; the read
    // ends there and the panel must close.
    bool ReadUnitState(UnitSlot& unit, GroupingAndTrigger& tables);

private:
    // Up to kAttempts calls until one succeeds, each after UpdateData and a short wait; false
    // when none did.
    template <typename Call>
    bool Retried(Call&& call);

    void ReadNames(UnitSlot& unit);
    // Each channel's level: the stored one, else the one the unit reported (none when its read
    // kept failing, and the level is then unknown).
    void ReadStoredIntensities(UnitSlot& unit, const std::array<uint16_t, rz470::kChannelCount>* reported);

    DeviceApi& api_;
    Waits& waits_;
    StoredChannelValues stored_;
};
