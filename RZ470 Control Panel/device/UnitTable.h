#pragma once

#include "RZ470Api.h"

#include <array>
#include <cstdint>

// One connected unit: its identity, versions, status word and channel records, and a copy of
// what the screens last drew of them.
struct UnitSlot {
    static constexpr uint16_t kEmpty = 255;

    uint16_t deviceIndex = kEmpty;
    uint16_t serialNumber = 0;
    uint8_t serialIdentifier = 0;  // model letter
    uint16_t firmwareVersion = 0;  // 140 = 1.4.0
    uint16_t firmwareVersion2 = 0;
    uint16_t firmwareVersion3 = 0;
    uint16_t unitStatus = 0;
    uint16_t shownUnitStatus = 0;
    uint16_t reportedUnitStatus = 0;  // the status word the session last reported as changed
    std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot> channels{};
    std::array<rz470::ChannelRecord, rz470::kRecordsPerSlot> shownChannels{};
    // Channels whose level neither the unit reported nor the panel holds. The unit takes all
    // nine levels at once, so nothing is sent while one is left; none is shown or stored.
    std::array<bool, rz470::kChannelCount> levelUnknown{};
    // Levels the panel holds that have not reached the unit because one was unknown (stored at
    // start, or set by the user meanwhile): the read that makes every level known keeps them and
    // sends them; the others follow the unit.
    std::array<bool, rz470::kChannelCount> levelHeld{};

    bool isEmpty() const { return deviceIndex == kEmpty; }
    bool anyLevelUnknown() const;
    // A level the panel now holds for channel c, set by the user: known from here on.
    void holdLevel(size_t c, uint16_t level);
    // A level the unit reported for channel c: one above full scale is junk, and the channel's
    // level is unknown until a read gives a real one.
    void takeReportedLevel(size_t c, uint16_t level);
};

// The shown copy's intensity while a channel's level is unknown: no level is on the screen, so
// the first one known differs from it and is drawn.
constexpr uint16_t kNoLevelShown = 0xFFFF;
// The shown copy's intensity before anything is drawn: every level, 0 too, differs from it, so
// the first refresh draws each one and sets its slider.
constexpr uint16_t kNothingShown = 0xFFFE;

// The ten unit slots; slot 0 holds *the unit* every screen and command concerns.
class UnitTable {
public:
    static constexpr int kSlotCount = 10;
    static constexpr int kDeviceIndexLimit = 50;  // discovery looks at indices 0..49

    UnitTable() { Prepare(); }

    // Every slot empty, every record cleared with full intensity, nothing shown yet, the panel
    // map the identity.
    void Prepare();

    UnitSlot& unit() { return unitSlots[0]; }
    const UnitSlot& unit() const { return unitSlots[0]; }

    // The unit's channel shown at panel position 0..8, and its shown copy.
    rz470::ChannelRecord& channelAtPanel(int panel) {
        return unit().channels[panelMap[static_cast<size_t>(panel)]];
    }
    rz470::ChannelRecord& shownAtPanel(int panel) {
        return unit().shownChannels[panelMap[static_cast<size_t>(panel)]];
    }

    std::array<UnitSlot, kSlotCount> unitSlots;            // "slots" is taken by Qt
    std::array<uint8_t, rz470::kChannelCount> panelMap{};  // channel shown at each panel position
    uint16_t deviceCount = 0;                              // count reported on the latest tick
    uint16_t knownDeviceCount = 0;                         // count the discovery last accounted for
};

// Copies text into a record's fixed text field, always NUL-terminated, never past the field.
template <size_t N>
void CopyBoundedText(char (&field)[N], const char* text, size_t textCapacity) {
    size_t length = 0;
    while (length < textCapacity && length + 1 < N && text[length] != '\0') {
        ++length;
    }
    for (size_t i = 0; i < N; ++i) {
        field[i] = i < length ? text[i] : '\0';
    }
}
