#include "UnitStateReader.h"

#include "DeviceApi.h"
#include "GroupingState.h"
#include "ProfileStore.h"
#include "SettingsKeys.h"
#include "UnitTable.h"
#include "Waits.h"

#include <QString>

#include <array>

namespace {

using Channels = std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot>;

template <typename Field>
auto NineFields(Channels& channels, Field field) {
    return [&channels, field](auto&& call) {
        return call(&(channels[0].*field), &(channels[1].*field), &(channels[2].*field),
                    &(channels[3].*field), &(channels[4].*field), &(channels[5].*field),
                    &(channels[6].*field), &(channels[7].*field), &(channels[8].*field));
    };
}

// Stored names are 8-bit text on the unit side; characters outside Latin-1 become '?'.
QByteArray ToChannelText(const QString& text) {
    return text.toLatin1();
}

}  // namespace

template <typename Call>
bool UnitStateReader::Retried(Call&& call) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        api_.UpdateData();
        waits_.wait(kAttemptWaitMs);
        if (call() != 0) {
            return true;
        }
    }
    return false;
}

void UnitStateReader::ReadUnitState(UnitSlot& unit, GroupingState& grouping, UnitStateListener& listener) {
    const uint16_t dev = unit.deviceIndex;
    Channels& ch = unit.channels;

    Retried([&] {
        return api_.GetSoftwareVersion(dev, &unit.firmwareVersion, &unit.firmwareVersion2,
                                       &unit.firmwareVersion3);
    });

    // The unit's own grouping stays off while the panel is connected; the close handler turns
    // it back on in the mode read here.
    Retried([&] { return api_.GetGroupingEnabled(dev, &grouping.groupingMode); });
    if (grouping.groupingMode != 0) {
        uint8_t check = 0;
        Retried([&] { return api_.SetGroupingEnabled(dev, 0); });
        // A check that never answered confirms nothing: the unit may still group its channels.
        const bool checked = Retried([&] { return api_.GetGroupingEnabled(dev, &check); });
        if (!checked || check != 0) {
            // The panel closes; nothing more is read from or sent to the unit.
            listener.GroupingNotCleared();
            return;
        }
    }

    Retried([&] {
        return NineFields(ch, &rz470::ChannelRecord::hours)(
            [&](auto... fields) { return api_.GetLEDHours(dev, fields...); });
    });
    Retried([&] {
        return NineFields(ch, &rz470::ChannelRecord::wavelength)(
            [&](auto... fields) { return api_.GetLEDWaveLength(dev, fields...); });
    });
    Retried([&] {
        return NineFields(ch, &rz470::ChannelRecord::ledType)(
            [&](auto... fields) { return api_.GetLEDType(dev, fields...); });
    });
    Retried([&] {
        return api_.GetUnitStatus(dev, &ch[0], &ch[1], &ch[2], &ch[3], &ch[4], &ch[5], &ch[6], &ch[7], &ch[8],
                                  &unit.unitStatus);
    });
    Retried([&] {
        return NineFields(ch, &rz470::ChannelRecord::minIntensityPercent)(
            [&](auto... fields) { return api_.GetMinIntPercentage(dev, fields...); });
    });

    ReadNames(unit);

    NineFields(ch, &rz470::ChannelRecord::intensity)(
        [&](auto... fields) { return api_.GetIntensityLevel(dev, fields...); });
    ReadStoredIntensities(unit);
    api_.SetIntensityLevel(dev, ch[0].intensity, ch[1].intensity, ch[2].intensity, ch[3].intensity,
                           ch[4].intensity, ch[5].intensity, ch[6].intensity, ch[7].intensity,
                           ch[8].intensity);

    if (api_.DeviceActive(dev) != 0) {
        ReadGroupingAndTrigger(api_, dev, grouping);
    }
}

void UnitStateReader::ReadNames(UnitSlot& unit) {
    std::array<QByteArray, rz470::kChannelCount> stored;
    bool allStored = true;
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        const QString name =
            profile_.readString(settings::kNamesSection,
                                settings::valueName(settings::kNameValue, unit.channels[c].wavelength), {});
        stored[c] = ToChannelText(name);
        allStored = allStored && !stored[c].isEmpty();
    }

    // The unit's names are read only when a stored one is missing.
    char unitNames[rz470::kChannelCount][rz470::kNameBufferSize] = {};
    if (!allStored) {
        Retried([&] {
            return api_.GetLEDName(unit.deviceIndex, unitNames[0], unitNames[1], unitNames[2], unitNames[3],
                                   unitNames[4], unitNames[5], unitNames[6], unitNames[7], unitNames[8]);
        });
    }
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        rz470::ChannelRecord& record = unit.channels[c];
        if (!stored[c].isEmpty()) {
            CopyBoundedText(record.name, stored[c].constData(), static_cast<size_t>(stored[c].size()));
        } else {
            // The unit need not terminate a name that fills its buffer.
            CopyBoundedText(record.name, unitNames[c], sizeof unitNames[c]);
        }
    }
}

void UnitStateReader::ReadStoredIntensities(UnitSlot& unit) {
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        rz470::ChannelRecord& record = unit.channels[c];
        const int stored = profile_.readInt(settings::kIntensitiesSection,
                                            settings::valueName(settings::kIntensityValue, record.wavelength),
                                            settings::kIntensityAbsent);
        // A value no panel writes (edited outside it) counts as absent rather than reaching the unit.
        if (stored >= 0 && stored <= rz470::kMaxIntensity) {
            record.intensity = static_cast<uint16_t>(stored);
        } else if (record.intensity > rz470::kMaxIntensity) {
            // Sent back as reported, a level out of range would make the unit refuse all nine.
            record.intensity = rz470::kMaxIntensity;
        }
    }
}
