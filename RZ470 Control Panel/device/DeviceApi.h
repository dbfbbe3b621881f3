#pragma once

#include "RZ470Api.h"

#include <array>

// The loaded device library: its module handle and one typed pointer per entry point.
// Tests bind the simulated library through the real binding or point single entries at fakes.
struct DeviceApi {
    void* module = nullptr;  // never unloaded once loaded

#define RZ470_DECLARE_POINTER(name, ret, params) RZ470_##name##_t name = nullptr;
    RZ470_ENTRY_POINTS(RZ470_DECLARE_POINTER)
#undef RZ470_DECLARE_POINTER

    // The close handler tells a bound library by this pointer.
    bool isBound() const {
        return DeviceActive != nullptr;
    }

    // Clears every entry point (the module stays loaded).
    void clearEntryPoints();
};

// SetIntensityLevel with the nine channels' levels, channel 1 first.
int SendIntensityLevels(const DeviceApi& api, uint16_t deviceIndex,
                        const std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot>& channels);
