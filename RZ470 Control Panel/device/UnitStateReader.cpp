#include "UnitStateReader.h"

#include "DeviceApi.h"
#include "GroupingAndTrigger.h"
#include "LedName.h"
#include "NineChannels.h"
#include "UnitTable.h"
#include "Waits.h"

#include <QString>

#include <array>

namespace {

// A stored name the panel cannot keep as written (edited by hand) counts as none.
QByteArray ToChannelText(const QString& text) {
    return LedName::Refusal(text) ? QByteArray() : text.toLatin1();
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

bool UnitStateReader::ReadUnitState(UnitSlot& unit, GroupingAndTrigger& tables) {
    const uint16_t dev = unit.deviceIndex;
    auto& ch = unit.channels;
    // One address per channel of the given field, for the library's nine-pointer calls.
    const auto fieldOf = [&ch](auto field) { return [&ch, field](size_t c) { return &(ch[c].*field); }; };

    Retried([&] {
        return api_.GetSoftwareVersion(dev, &unit.firmwareVersion, &unit.firmwareVersion2,
                                       &unit.firmwareVersion3);
    });

    // The unit's own grouping stays off while the panel is connected; the close handler turns
    // it back on in the mode read here.
    Retried([&] { return api_.GetGroupingEnabled(dev, &tables.groupingMode); });
    if (tables.groupingMode != 0) {
        uint8_t check = 0;
        Retried([&] { return api_.SetGroupingEnabled(dev, 0); });
        // A check that never answered confirms nothing: the unit may still group its channels.
        const bool checked = Retried([&] { return api_.GetGroupingEnabled(dev, &check); });
        if (!checked || check != 0) {
            // The panel closes; nothing more is read from or sent to the unit.
            return false;
        }
    }

    Retried([&] {
        return rz470::ForNineChannels(fieldOf(&rz470::ChannelRecord::hours),
                                      [&](auto... fields) { return api_.GetLEDHours(dev, fields...); });
    });
    Retried([&] {
        return rz470::ForNineChannels(fieldOf(&rz470::ChannelRecord::wavelength),
                                      [&](auto... fields) { return api_.GetLEDWaveLength(dev, fields...); });
    });
    Retried([&] {
        return rz470::ForNineChannels(fieldOf(&rz470::ChannelRecord::ledType),
                                      [&](auto... fields) { return api_.GetLEDType(dev, fields...); });
    });
    Retried([&] {
        return rz470::ForNineChannels(
            [&ch](size_t c) { return &ch[c]; },
            [&](auto... records) { return api_.GetUnitStatus(dev, records..., &unit.unitStatus); });
    });
    Retried([&] {
        return rz470::ForNineChannels(
            fieldOf(&rz470::ChannelRecord::minIntensityPercent),
            [&](auto... fields) { return api_.GetMinIntPercentage(dev, fields...); });
    });

    ReadNames(unit);

    // Read aside: a call that failed may have left anything in its outputs.
    std::array<uint16_t, rz470::kChannelCount> reported{};
    const bool levelsRead = Retried([&] {
        return rz470::ForNineChannels([&reported](size_t c) { return &reported[c]; },
                                      [&](auto... levels) { return api_.GetIntensityLevel(dev, levels...); });
    });
    ReadStoredIntensities(unit, levelsRead ? &reported : nullptr);
    // A level sent for a channel whose level is unknown would be made up.
    if (!unit.anyLevelUnknown()) {
        SendIntensityLevels(api_, dev, ch);
        unit.levelHeld.fill(false);
    }
    return true;
}

void UnitStateReader::ReadNames(UnitSlot& unit) {
    std::array<QByteArray, rz470::kChannelCount> stored;
    bool allStored = true;
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        stored[c] = ToChannelText(stored_.name(unit.channels[c].wavelength));
        allStored = allStored && !stored[c].isEmpty();
    }

    // The unit's names are read only when a stored one is missing.
    char unitNames[rz470::kChannelCount][rz470::kNameBufferSize] = {};
    if (!allStored) {
        Retried([&] {
            return rz470::ForNineChannels(
                [&unitNames](size_t c) { return unitNames[c]; },
                [&](auto... names) { return api_.GetLEDName(unit.deviceIndex, names...); });
        });
    }
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        rz470::ChannelRecord& record = unit.channels[c];
        if (!stored[c].isEmpty()) {
            CopyBoundedText(record.name, stored[c].constData(), static_cast<size_t>(stored[c].size()));
        } else {
            // The unit need not terminate a name that fills its buffer. One with control bytes
            // would reach the screen and every script as it is: it counts as none.
            const bool kept = !LedName::Refusal(LedName::FromNarrow(unitNames[c]));
            CopyBoundedText(record.name, unitNames[c], kept ? sizeof unitNames[c] : 0);
        }
    }
}

void UnitStateReader::ReadStoredIntensities(UnitSlot& unit,
                                            const std::array<uint16_t, rz470::kChannelCount>* reported) {
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        rz470::ChannelRecord& record = unit.channels[c];
        if (const std::optional<uint16_t> stored = stored_.intensity(record.wavelength)) {
            record.intensity = *stored;
            unit.levelUnknown[c] = false;
            unit.levelHeld[c] = true;
        } else if (reported == nullptr) {
            // Neither the unit nor the store gave a level: the channel waits for a read that works.
            record.intensity = 0;
            unit.levelUnknown[c] = true;
            unit.levelHeld[c] = false;
        } else {
            // One above full scale is unknown too.
            unit.takeReportedLevel(static_cast<size_t>(c), (*reported)[c]);
        }
    }
}
