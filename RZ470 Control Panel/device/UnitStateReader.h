#pragma once

#include <cstdint>

struct DeviceApi;
struct GroupingState;
struct UnitSlot;
class ProfileStore;
class Waits;

// What the full read asks of its owner.
class UnitStateListener {
public:
    virtual ~UnitStateListener() = default;
    // The unit kept its grouping switched on, or would not confirm it off: tell the user and
    // close the panel. The read ends there.
    virtual void GroupingNotCleared() = 0;
};

// The full read of the unit once it is found: versions, grouping switched off, the channel
// fields, names and intensities from the profile keyed by wavelength, the intensities sent back
// and the grouping and trigger tables.
class UnitStateReader {
public:
    static constexpr int kAttempts = 20;
    static constexpr int kAttemptWaitMs = 50;

    UnitStateReader(DeviceApi& api, Waits& waits, ProfileStore& profile)
        : api_(api), waits_(waits), profile_(profile) {}

    void ReadUnitState(UnitSlot& unit, GroupingState& grouping, UnitStateListener& listener);

private:
    // Up to kAttempts calls until one succeeds, each after UpdateData and a short wait; false
    // when none did.
    template <typename Call>
    bool Retried(Call&& call);

    void ReadNames(UnitSlot& unit);
    void ReadStoredIntensities(UnitSlot& unit);

    DeviceApi& api_;
    Waits& waits_;
    ProfileStore& profile_;
};
