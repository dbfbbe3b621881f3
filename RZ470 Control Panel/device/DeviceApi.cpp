#include "DeviceApi.h"

#include "NineChannels.h"

void DeviceApi::clearEntryPoints() {
#define RZ470_CLEAR_POINTER(name, ret, params) name = nullptr;
    RZ470_ENTRY_POINTS(RZ470_CLEAR_POINTER)
#undef RZ470_CLEAR_POINTER
}

int SendIntensityLevels(const DeviceApi& api, uint16_t deviceIndex,
                        const std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot>& channels) {
    return rz470::ForNineChannels(
        [&channels](size_t c) { return channels[c].intensity; },
        [&](auto... levels) { return api.SetIntensityLevel(deviceIndex, levels...); });
}
