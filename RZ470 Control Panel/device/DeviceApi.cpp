#include "DeviceApi.h"

#include "NineChannels.h"

#include <algorithm>

void DeviceApi::clearEntryPoints() {
#define RZ470_CLEAR_POINTER(name, ret, params) name = nullptr;
    RZ470_ENTRY_POINTS(RZ470_CLEAR_POINTER)
#undef RZ470_CLEAR_POINTER
}

int SendIntensityLevels(const DeviceApi& api, uint16_t deviceIndex,
                        const std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot>& channels) {
    // A level the unit reported out of range (the poll keeps it as read) would make the unit
    // refuse all nine, and with them the level the user just set: it goes as full scale.
    return rz470::ForNineChannels(
        [&channels](size_t c) { return std::min(channels[c].intensity, rz470::kMaxIntensity); },
        [&](auto... levels) { return api.SetIntensityLevel(deviceIndex, levels...); });
}
