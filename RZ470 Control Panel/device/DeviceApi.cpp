#include "DeviceApi.h"

#include "NineChannels.h"

void DeviceApi::clearEntryPoints() {
#define RZ470_CLEAR_POINTER(name, ret, params) name = nullptr;
    RZ470_ENTRY_POINTS(RZ470_CLEAR_POINTER)
#undef RZ470_CLEAR_POINTER
}

int SendIntensityLevels(const DeviceApi& api, uint16_t deviceIndex,
                        const std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot>& channels) {
    // A level above full scale is junk (the reads keep none): sent, the unit would refuse all
    // nine; made full scale, it would light an LED at full power. Nothing goes.
    for (size_t c = 0; c < rz470::kChannelCount; ++c) {
        if (channels[c].intensity > rz470::kMaxIntensity) {
            return 0;
        }
    }
    return rz470::ForNineChannels(
        [&channels](size_t c) { return channels[c].intensity; },
        [&](auto... levels) { return api.SetIntensityLevel(deviceIndex, levels...); });
}
