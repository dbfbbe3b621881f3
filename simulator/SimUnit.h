// One simulated unit: its identity, its nine LED channels and the settings it keeps.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "RZ470Api.h"

struct SimChannel {
    uint16_t wavelength = 0;
    uint16_t fwhm = 0;
    uint16_t ledType = rz470::LedType::StandardPower;
    uint16_t minIntensityPercent = 0;
    uint16_t intensity = 500;
    // Every status bit except LedOn, which follows `on`.
    uint16_t flags = rz470::ChannelStatus::Fitted | rz470::ChannelStatus::Present;
    bool on = false;
    uint8_t triggered = 0;
    uint16_t hours = 0;
    uint16_t temperature = 0;
    uint16_t cutoffTemperature = 0;
    uint16_t ledSerial = 0;
    uint16_t rangeLow = 0;
    uint16_t rangeHigh = 0;
    uint16_t delayTime = 0;
    uint16_t onTime = 0;
    uint16_t offTime = 0;
    uint16_t triggerTime = 0;
    uint16_t minCurrent = 0;
    uint16_t minThreshold = 0;
    uint16_t dichroicException1 = 0;
    uint16_t dichroicException2 = 0;
    std::string name;
    std::string mfgDate;

    uint16_t status() const;
    bool hasAlarm() const { return (flags & rz470::ChannelStatus::AlarmMask) != 0; }
    // A channel without a fitted and present LED module cannot light.
    bool canLight() const;
};

struct SimUnit {
    static constexpr int kGroupCount = 6;
    static constexpr int kDichroicEntries = 16;
    static constexpr size_t kMaxNameLength = rz470::kNameBufferSize - 1;
    static constexpr size_t kMaxDateLength = 19;
    static constexpr uint16_t kUnitAlarmBits =
        rz470::UnitStatus::NvmFailure | rz470::UnitStatus::PerformanceAlarm;
    static constexpr uint16_t kMaxIndex = 254;  // 255 marks an empty slot on the panel's side
    static constexpr uint8_t kMaxGroupingMode = 2;
    static constexpr uint8_t kMaxTtlStep = 9;
    static constexpr uint16_t kMaxPercent = 100;

    // Upper bounds of the byte settings the panel does not use.
    static constexpr uint8_t kMaxProgramMode = 2;
    static constexpr uint8_t kMaxPgStatus = 1;
    static constexpr uint8_t kMaxPgUnits = 1;
    static constexpr uint8_t kMaxPgMode = 3;
    static constexpr uint8_t kMaxLcdScreen = 9;
    static constexpr uint8_t kMaxLcdContrast = 15;
    static constexpr uint8_t kMaxLcdVolume = 10;
    static constexpr uint8_t kMaxSwitch = 1;

    using GroupRow = std::array<uint8_t, rz470::kTableWidth>;

    // The unit as it leaves the factory; unitNumber tells several simulated units apart.
    static SimUnit factoryDefault(int unitNumber);

    uint16_t deviceIndex = 0;
    uint16_t serial = 42;
    uint8_t identifier = 'B';
    std::array<uint16_t, 3> version{140, 0, 0};
    bool plugged = false;
    bool connected = false;

    std::array<SimChannel, rz470::kChannelCount> channels{};
    // Raised unit status bits; the alarm and LED-on bits are added from the channels.
    uint16_t unitFlags = rz470::UnitStatus::LightGuideInserted;

    uint8_t groupingMode = 0;
    std::array<GroupRow, kGroupCount> groups{};
    std::array<uint8_t, rz470::kTableWidth> ttlSequence{};
    std::array<uint16_t, rz470::kTableWidth> ttlTimeout{};

    std::string deviceName = "ORVANE";
    uint8_t programMode = 0;
    uint8_t pgStatus = 0;
    uint8_t pgUnits = 0;
    uint8_t pgMode = 0;
    uint8_t lcdScreen = 0;
    uint8_t lcdContrast = 8;
    uint8_t lcdVolume = 5;
    uint8_t singleShot = 0;
    uint8_t liveCellMode = 0;
    uint8_t privilege = 0;
    uint8_t digitalInputs = 0;
    uint16_t screenSaverTimeout = 10;
    uint16_t nvmErrorCount = 0;
    std::array<uint16_t, kDichroicEntries> dichroicEntries{};

    uint16_t unitStatus() const;
    bool anyLedOn() const;

    // Replaces group `group` (1..6) with the members up to the first 0; false (and nothing
    // changed) for a bad group, count or member.
    bool setGroup(int group, const uint8_t* members, int count);
    void fillRecord(int channel, rz470::ChannelRecord& record) const;
};
