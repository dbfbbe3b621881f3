#include "PanelSettings.h"

#include "NumberList.h"
#include "ProfileStore.h"
#include "SettingsKeys.h"

namespace {

constexpr int kMaxIntensity = 1000;
constexpr int kBitsPerGroup = 3;
constexpr int kLowestGroupBit = 3;  // bits 0..2 stay zero
constexpr uint8_t kHighestGroup = 6;
constexpr int kModeCount = 3;

bool IsFavouriteSlot(int slot) {
    return slot >= 1 && slot <= PanelSettings::kFavouriteSlots;
}

std::vector<int> AsNumbers(const std::array<uint8_t, PanelSettings::kChannels>& values) {
    return std::vector<int>(values.begin(), values.end());
}

}  // namespace

using settings::valueName;

QString PanelSettings::ChannelName(uint16_t wavelength) const {
    return store_.readString(settings::kNamesSection, valueName(settings::kNameValue, wavelength), {});
}

void PanelSettings::SetChannelName(uint16_t wavelength, const QString& name) {
    store_.writeString(settings::kNamesSection, valueName(settings::kNameValue, wavelength), name);
}

std::optional<uint16_t> PanelSettings::ChannelIntensity(uint16_t wavelength) const {
    const int stored =
        store_.readInt(settings::kIntensitiesSection, valueName(settings::kIntensityValue, wavelength),
                       settings::kIntensityAbsent);
    if (stored < 0 || stored > kMaxIntensity) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(stored);
}

void PanelSettings::SetChannelIntensity(uint16_t wavelength, uint16_t intensity) {
    store_.writeInt(settings::kIntensitiesSection, valueName(settings::kIntensityValue, wavelength),
                    intensity);
}

void PanelSettings::SetTriggerStep(int channel, int step) {
    store_.writeInt(settings::kTriggerSection, valueName(settings::kDelayValue, channel), step);
}

void PanelSettings::SetTriggerOnValue(uint16_t wavelength, uint16_t onValue) {
    store_.writeInt(settings::kTriggerSection, valueName(settings::kOnValue, wavelength), onValue);
}

FavouriteGrouping PanelSettings::Favourite(int slot) const {
    if (!IsFavouriteSlot(slot)) {
        return {};
    }
    FavouriteGrouping favourite;
    favourite.name =
        store_.readString(settings::kFavouritesSection, valueName(settings::kFavouriteNameValue, slot), {});
    favourite.packedGroups = static_cast<uint32_t>(
        store_.readInt(settings::kFavouritesSection, valueName(settings::kFavouriteGroupsValue, slot), 0));
    const int mode =
        store_.readInt(settings::kFavouritesSection, valueName(settings::kFavouriteModeValue, slot), 0);
    favourite.mode = mode >= 0 && mode < kModeCount ? mode : 0;
    return favourite;
}

void PanelSettings::SetFavourite(int slot, const FavouriteGrouping& favourite) {
    if (!IsFavouriteSlot(slot)) {
        return;
    }
    store_.writeString(settings::kFavouritesSection, valueName(settings::kFavouriteNameValue, slot),
                       favourite.name.left(settings::kMaxStoredStringLength));
    SetFavouriteGroups(slot, favourite.packedGroups, favourite.mode);
}

void PanelSettings::SetFavouriteGroups(int slot, uint32_t packedGroups, int mode) {
    if (!IsFavouriteSlot(slot)) {
        return;
    }
    store_.writeInt(settings::kFavouritesSection, valueName(settings::kFavouriteGroupsValue, slot),
                    static_cast<int>(packedGroups));
    store_.writeInt(settings::kFavouritesSection, valueName(settings::kFavouriteModeValue, slot), mode);
    // A favourite is read whole by whoever reads the store next.
    store_.flush();
}

void PanelSettings::ReloadFavourites() {
    store_.reload();
}

uint32_t PanelSettings::PackGroups(const std::array<uint8_t, kChannels>& groups) {
    uint32_t packed = 0;
    for (int c = 0; c < kChannels; ++c) {
        const int shift = kLowestGroupBit + kBitsPerGroup * (kChannels - 1 - c);
        packed |= static_cast<uint32_t>(groups[static_cast<size_t>(c)] & 0x7u) << shift;
    }
    return packed;
}

std::array<uint8_t, PanelSettings::kChannels> PanelSettings::UnpackGroups(uint32_t packed) {
    std::array<uint8_t, kChannels> groups{};
    for (int c = 0; c < kChannels; ++c) {
        const int shift = kLowestGroupBit + kBitsPerGroup * (kChannels - 1 - c);
        const auto group = static_cast<uint8_t>((packed >> shift) & 0x7u);
        // Only a value edited outside the panel holds a 7: the unit has no such group.
        groups[static_cast<size_t>(c)] = group <= kHighestGroup ? group : 0;
    }
    return groups;
}

StoredDemoLoop PanelSettings::DemoLoop() const {
    const auto numbers = [this](const QString& value, int count) {
        return settings::LeadingNumbers(store_.readString(settings::kDemoLoopSection, value, {}), count);
    };
    return {numbers(settings::kDemoSelectionValue, kChannels), numbers(settings::kDemoOrderValue, kChannels),
            numbers(settings::kDemoTimesValue, 2)};
}

void PanelSettings::SetDemoLoop(const std::array<uint8_t, kChannels>& selection,
                                const std::array<uint8_t, kChannels>& order, uint16_t onTime,
                                uint16_t offTime) {
    store_.writeString(settings::kDemoLoopSection, settings::kDemoSelectionValue,
                       settings::NumberList(AsNumbers(selection)));
    store_.writeString(settings::kDemoLoopSection, settings::kDemoOrderValue,
                       settings::NumberList(AsNumbers(order)));
    store_.writeString(settings::kDemoLoopSection, settings::kDemoTimesValue,
                       settings::NumberList({onTime, offTime}));
    store_.flush();
}

bool PanelSettings::ScriptingAllowed() const {
    return store_.readInt(settings::kScriptingSection, settings::kAllowScriptingValue,
                          settings::kAllowScriptingDefault) != 0;
}

void PanelSettings::SetScriptingAllowed(bool allowed) {
    store_.writeInt(settings::kScriptingSection, settings::kAllowScriptingValue, allowed ? 1 : 0);
}
