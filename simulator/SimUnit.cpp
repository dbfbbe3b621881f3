#include "SimUnit.h"

#include <algorithm>
#include <cstring>

namespace {

struct FactoryChannel {
    uint16_t wavelength;
    uint16_t fwhm;
    uint16_t ledType;
    uint16_t minIntensityPercent;
    const char* name;
    const char* mfgDate;
};

// Spread over the range a fluorescence set-up needs; 4-7 are the high-power modules, and those
// cannot be driven below 5 %.
constexpr FactoryChannel kFactoryChannels[rz470::kChannelCount] = {
    {365, 10, rz470::LedType::StandardPower, 0, "UV 365", "2023-02-14"},
    {405, 14, rz470::LedType::StandardPower, 0, "Violet 405", "2023-02-14"},
    {435, 18, rz470::LedType::StandardPower, 0, "Indigo 435", "2023-03-02"},
    {470, 24, rz470::LedType::HighPower, 5, "Blue 470", "2023-03-02"},
    {500, 28, rz470::LedType::HighPower, 5, "Cyan 500", "2023-03-02"},
    {525, 32, rz470::LedType::HighPower, 5, "Green 525", "2023-04-19"},
    {550, 90, rz470::LedType::HighPower, 5, "Lime 550", "2023-04-19"},
    {580, 16, rz470::LedType::StandardPower, 0, "Amber 580", "2023-05-08"},
    {635, 18, rz470::LedType::StandardPower, 0, "Red 635", "2023-05-08"},
};

}  // namespace

uint16_t SimChannel::status() const {
    return flags | (on ? rz470::ChannelStatus::LedOn : 0);
}

bool SimChannel::canLight() const {
    constexpr uint16_t needed = rz470::ChannelStatus::Fitted | rz470::ChannelStatus::Present;
    return (flags & needed) == needed;
}

SimUnit SimUnit::factoryDefault(int unitNumber) {
    SimUnit unit;
    unit.deviceIndex = static_cast<uint16_t>(unitNumber);
    unit.serial = static_cast<uint16_t>(42 + unitNumber);
    for (int c = 0; c < rz470::kChannelCount; ++c) {
        const FactoryChannel& f = kFactoryChannels[c];
        SimChannel& ch = unit.channels[c];
        ch.wavelength = f.wavelength;
        ch.fwhm = f.fwhm;
        ch.ledType = f.ledType;
        ch.minIntensityPercent = f.minIntensityPercent;
        ch.name = f.name;
        ch.mfgDate = f.mfgDate;
        ch.rangeLow = static_cast<uint16_t>(f.wavelength - f.fwhm / 2);
        ch.rangeHigh = static_cast<uint16_t>(f.wavelength + f.fwhm / 2);
        ch.hours = static_cast<uint16_t>(120 + 37 * c);
        ch.temperature = static_cast<uint16_t>(f.ledType == rz470::LedType::HighPower ? 38 : 31);
        ch.cutoffTemperature = static_cast<uint16_t>(f.ledType == rz470::LedType::HighPower ? 85 : 75);
        ch.ledSerial = static_cast<uint16_t>(3100 + 100 * unitNumber + c);
    }
    return unit;
}

bool SimUnit::anyLedOn() const {
    return std::any_of(channels.begin(), channels.end(), [](const SimChannel& c) { return c.on; });
}

uint16_t SimUnit::unitStatus() const {
    uint16_t status = unitFlags;
    if (anyLedOn())
        status |= rz470::UnitStatus::LedOn;
    const bool channelAlarm =
        std::any_of(channels.begin(), channels.end(), [](const SimChannel& c) { return c.hasAlarm(); });
    if (channelAlarm || (unitFlags & kUnitAlarmBits) != 0)
        status |= rz470::UnitStatus::AlarmActive;
    return status;
}

bool SimUnit::setGroup(int group, const uint8_t* members, int count) {
    if (group < 1 || group > kGroupCount || members == nullptr || count < 1 || count > rz470::kTableWidth)
        return false;
    GroupRow row{};
    int used = 0;
    for (int i = 0; i < count && members[i] != 0; ++i) {
        const uint8_t led = members[i];
        if (led > rz470::kChannelCount ||
            std::find(row.begin(), row.begin() + used, led) != row.begin() + used)
            return false;
        row[used++] = led;
    }
    groups[group - 1] = row;
    return true;
}

void SimUnit::fillRecord(int channel, rz470::ChannelRecord& record) const {
    const SimChannel& c = channels[channel];
    // Only the fields the unit reports through this call; intensity, hours, wavelength, type,
    // minimum, name and lock are either read by their own calls or belong to the caller.
    record.status = c.status();
    record.reserved4 = 0;
    record.onValue = c.onTime;
    record.reserved8 = 0;
    record.reserved10 = 0;
    record.reserved12 = 0;
    record.triggered = c.triggered;
    record.fwhm = c.fwhm;
    record.temperature = c.temperature;
    record.cutoffTemperature = c.cutoffTemperature;
    record.ledSerial = c.ledSerial;
    for (int i = 0; i < 3; ++i)
        record.reserved28[i] = 0;
    record.dichroicException1 = c.dichroicException1;
    record.dichroicException2 = c.dichroicException2;
    record.rangeLow = c.rangeLow;
    record.rangeHigh = c.rangeHigh;
    char date[sizeof record.mfgDate] = {};
    std::memcpy(date, c.mfgDate.data(), std::min(c.mfgDate.size(), sizeof date - 1));
    std::memcpy(record.mfgDate, date, sizeof date);
}
