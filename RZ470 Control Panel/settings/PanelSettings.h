#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

class ProfileStore;

// One favourite grouping as stored: its name (empty: the slot is free), the nine group numbers
// packed three bits each, and the grouping mode.
struct FavouriteGrouping {
    QString name;
    uint32_t packedGroups = 0;
    int mode = 0;

    bool isFree() const { return name.isEmpty(); }
};

// The demo loop's stored lists: the leading numbers of each stored text, empty when absent.
struct StoredDemoLoop {
    std::vector<int> selection;
    std::vector<int> order;
    std::vector<int> times;  // on time, off time
};

// Everything the panel stores, typed, over the profile store. Values read back are bounded:
// whatever was edited outside the panel yields the default rather than reaching the unit.
class PanelSettings {
public:
    static constexpr int kFavouriteSlots = 10;
    static constexpr int kChannels = 9;

    explicit PanelSettings(ProfileStore& store) : store_(store) {}

    // Channel names and intensities follow an LED module by its wavelength.
    QString ChannelName(uint16_t wavelength) const;
    void SetChannelName(uint16_t wavelength, const QString& name);
    // None when absent, or not a level 0..1000.
    std::optional<uint16_t> ChannelIntensity(uint16_t wavelength) const;
    void SetChannelIntensity(uint16_t wavelength, uint16_t intensity);

    // Written for other programs, never read back: each channel's trigger-sequence step by
    // channel index, and its onValue by wavelength.
    void SetTriggerStep(int channel, int step);
    void SetTriggerOnValue(uint16_t wavelength, uint16_t onValue);

    // Favourite groupings, slots 1..kFavouriteSlots; a slot outside that range is free and
    // takes no write. A stored mode outside 0..2 reads as 0; a name is written bounded like
    // every stored string.
    FavouriteGrouping Favourite(int slot) const;
    void SetFavourite(int slot, const FavouriteGrouping& favourite);
    // The groups and mode of a favourite, its stored name left as it is.
    void SetFavouriteGroups(int slot, uint32_t packedGroups, int mode);
    // Reads the favourites again as the store holds them now: another writer may have changed them.
    void ReloadFavourites();
    // Group numbers of channels 1..9, three bits each: channel 1 in bits 27..29 down to channel 9
    // in bits 3..5; the other bits are never read. A 7, which no group has, unpacks as 0.
    static uint32_t PackGroups(const std::array<uint8_t, kChannels>& groups);
    static std::array<uint8_t, kChannels> UnpackGroups(uint32_t packed);

    StoredDemoLoop DemoLoop() const;
    void SetDemoLoop(const std::array<uint8_t, kChannels>& selection,
                     const std::array<uint8_t, kChannels>& order, uint16_t onTime, uint16_t offTime);

    // Whether scripts may act on the unit; allowed unless stored as 0.
    bool ScriptingAllowed() const;
    void SetScriptingAllowed(bool allowed);

private:
    ProfileStore& store_;
};
