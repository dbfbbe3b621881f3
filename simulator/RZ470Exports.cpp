// The device library's entry points, answered by the simulated units.

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string>
#include <type_traits>

#include "RZ470Api.h"
#include "RZ470Sim.h"
#include "RZ470VersionNote.h"
#include "SimText.h"
#include "Simulator.h"

RZ470_VERSION_NOTE(1, 2, 0, 0);

#define RZ470_SIM_EXPORT __attribute__((visibility("default")))

extern "C" {
#define RZ470_SIM_DECLARE(name, ret, params) RZ470_SIM_EXPORT ret RZ470_CALL name params;
RZ470_ENTRY_POINTS(RZ470_SIM_DECLARE)
#undef RZ470_SIM_DECLARE
}

// A definition below that drifts from the contract fails here rather than in the panel.
#define RZ470_SIM_CHECK_TYPE(name, ret, params)                      \
    static_assert(std::is_same_v<decltype(&name), RZ470_##name##_t>, \
                  #name " does not match its contract type");
RZ470_ENTRY_POINTS(RZ470_SIM_CHECK_TYPE)
#undef RZ470_SIM_CHECK_TYPE

#define SIM_NINE(T, p) T p##1, T p##2, T p##3, T p##4, T p##5, T p##6, T p##7, T p##8, T p##9
#define SIM_LIST(p) \
    { p##1, p##2, p##3, p##4, p##5, p##6, p##7, p##8, p##9 }

namespace {

using WordsOut = std::array<RZ470Word*, rz470::kChannelCount>;
using WordsIn = std::array<RZ470Word, rz470::kChannelCount>;
using BytesIn = std::array<RZ470Byte, rz470::kChannelCount>;
using TextsOut = std::array<char*, rz470::kChannelCount>;
using RecordsOut = std::array<rz470::ChannelRecord*, rz470::kChannelCount>;

constexpr size_t kTextBufferSize = 50;  // the description and information buffers

Simulator& sim() {
    return Simulator::instance();
}

// Argument text for the call log.
std::string arg(unsigned long value) {
    return std::to_string(value);
}

template <typename T>
std::string arg(T* pointer) {
    return pointer != nullptr ? "&" : "null";
}

template <typename T, size_t N>
std::string arg(const std::array<T, N>& values) {
    std::string out = "{";
    for (size_t i = 0; i < N; ++i)
        out += (i ? "," : "") + arg(values[i]);
    return out + '}';
}

// An input table, shown when its count is one the library accepts.
template <typename T>
struct Table {
    const T* data;
    int count;
};

template <typename T>
std::string arg(const Table<T>& table) {
    if (table.data == nullptr)
        return "null";
    if (table.count < 1 || table.count > rz470::kTableWidth)
        return "&";
    std::string out = "{";
    for (int i = 0; i < table.count; ++i)
        out += (i ? "," : "") + std::to_string(static_cast<unsigned long>(table.data[i]));
    return out + '}';
}

struct Text {
    const char* data;
};

std::string arg(const Text& text) {
    if (text.data == nullptr)
        return "null";
    constexpr size_t kShown = 32;
    size_t length = 0;
    while (length < kShown && text.data[length] != '\0')
        ++length;
    return '"' + std::string(text.data, length) + (length == kShown ? "...\"" : "\"");
}

template <typename... A>
std::string args(const A&... values) {
    std::string out;
    ((out += (out.empty() ? "" : ", ") + arg(values)), ...);
    return out;
}

template <typename T, size_t N>
bool allGiven(const std::array<T*, N>& pointers) {
    for (T* p : pointers) {
        if (p == nullptr)
            return false;
    }
    return true;
}

void copyText(char* destination, size_t size, const std::string& text) {
    const size_t length = std::min(text.size(), size - 1);
    std::memcpy(destination, text.data(), length);
    destination[length] = '\0';
}

// A call addressed to one unit: fails unless that unit is plugged.
template <typename Body>
int onUnit(EntryId id, RZ470Word dev, const std::string& argText, Body body) {
    return sim().run(id, argText, [&]() -> int {
        SimUnit* unit = sim().activeUnit(dev);
        return unit != nullptr ? body(*unit) : 0;
    });
}

template <typename T>
int getUnitValue(EntryId id, RZ470Word dev, T* out, T SimUnit::*field) {
    return onUnit(id, dev, args(dev, out), [&](SimUnit& unit) {
        if (out == nullptr)
            return 0;
        *out = unit.*field;
        return 1;
    });
}

template <typename T>
int setUnitValue(EntryId id, RZ470Word dev, T value, T SimUnit::*field, T max) {
    return onUnit(id, dev, args(dev, value), [&](SimUnit& unit) {
        if (value > max)
            return 0;
        unit.*field = value;
        return 1;
    });
}

int getChannelWords(EntryId id, RZ470Word dev, const WordsOut& out, uint16_t SimChannel::*field) {
    return onUnit(id, dev, args(dev, out), [&](SimUnit& unit) {
        if (!allGiven(out))
            return 0;
        for (int c = 0; c < rz470::kChannelCount; ++c)
            *out[c] = unit.channels[c].*field;
        return 1;
    });
}

int setChannelWords(EntryId id, RZ470Word dev, const WordsIn& in, uint16_t SimChannel::*field,
                    uint16_t max = 0xFFFF) {
    return onUnit(id, dev, args(dev, in), [&](SimUnit& unit) {
        for (RZ470Word value : in) {
            if (value > max)
                return 0;
        }
        for (int c = 0; c < rz470::kChannelCount; ++c)
            unit.channels[c].*field = in[c];
        return 1;
    });
}

int getChannelTexts(EntryId id, RZ470Word dev, const TextsOut& out, std::string SimChannel::*field) {
    return onUnit(id, dev, args(dev, out), [&](SimUnit& unit) {
        if (!allGiven(out))
            return 0;
        for (int c = 0; c < rz470::kChannelCount; ++c)
            copyText(out[c], rz470::kNameBufferSize, unit.channels[c].*field);
        return 1;
    });
}

bool validCount(RZ470Byte count) {
    return count >= 1 && count <= rz470::kTableWidth;
}

}  // namespace

extern "C" {

RZ470Word RZ470_CALL GetNumDevicesConnected(void) {
    return static_cast<RZ470Word>(
        sim().run(kCall_GetNumDevicesConnected, "", [] { return sim().pluggedCount(); }));
}

int RZ470_CALL UpdateData(void) {
    const int result = sim().run(kCall_UpdateData, "", [] { return 1; });
    // Served even while UpdateData is made to fail, so the tool can always undo that.
    sim().serveControl();
    return result;
}

int RZ470_CALL DataReady(RZ470Word dev) {
    return onUnit(kCall_DataReady, dev, args(dev), [](SimUnit&) { return 1; });
}

int RZ470_CALL DeviceActive(RZ470Word dev) {
    return onUnit(kCall_DeviceActive, dev, args(dev), [](SimUnit&) { return 1; });
}

int RZ470_CALL GetDeviceName(RZ470Word dev, char* name20) {
    return onUnit(kCall_GetDeviceName, dev, args(dev, name20), [&](SimUnit& unit) {
        if (name20 == nullptr)
            return 0;
        copyText(name20, rz470::kNameBufferSize, unit.deviceName);
        return 1;
    });
}

int RZ470_CALL GetDeviceDescription(RZ470Word dev, char* text50) {
    return onUnit(kCall_GetDeviceDescription, dev, args(dev, text50), [&](SimUnit&) {
        if (text50 == nullptr)
            return 0;
        copyText(text50, kTextBufferSize, "Nine-channel LED light source (simulated)");
        return 1;
    });
}

int RZ470_CALL SetDeviceName(RZ470Word dev, const char* name) {
    return onUnit(kCall_SetDeviceName, dev, args(dev, Text{name}), [&](SimUnit& unit) {
        if (name == nullptr)
            return 0;
        const size_t length = strnlen(name, SimUnit::kMaxNameLength + 1);
        const std::string_view text(name, length);
        if (!simtext::isStorableText(text, SimUnit::kMaxNameLength))
            return 0;
        unit.deviceName = std::string(text);
        return 1;
    });
}

int RZ470_CALL GetInformation(RZ470Word dev, char* text50) {
    return onUnit(kCall_GetInformation, dev, args(dev, text50), [&](SimUnit& unit) {
        if (text50 == nullptr)
            return 0;
        char text[kTextBufferSize];
        std::snprintf(text, sizeof text, "Serial %c%u, firmware %u/%u/%u", static_cast<char>(unit.identifier),
                      static_cast<unsigned>(unit.serial), static_cast<unsigned>(unit.version[0]),
                      static_cast<unsigned>(unit.version[1]), static_cast<unsigned>(unit.version[2]));
        copyText(text50, kTextBufferSize, text);
        return 1;
    });
}

int RZ470_CALL SetProgramMode(RZ470Word dev, RZ470Byte mode) {
    return setUnitValue(kCall_SetProgramMode, dev, mode, &SimUnit::programMode, SimUnit::kMaxProgramMode);
}

int RZ470_CALL GetUnitStatus(RZ470Word dev, SIM_NINE(rz470::ChannelRecord*, r), RZ470Word* unitStatus) {
    const RecordsOut records = SIM_LIST(r);
    return onUnit(kCall_GetUnitStatus, dev, args(dev, records, unitStatus), [&](SimUnit& unit) {
        if (!allGiven(records) || unitStatus == nullptr)
            return 0;
        for (int c = 0; c < rz470::kChannelCount; ++c)
            unit.fillRecord(c, *records[c]);
        *unitStatus = unit.unitStatus();
        return 1;
    });
}

int RZ470_CALL GetSoftwareVersion(RZ470Word dev, RZ470Word* major, RZ470Word* second, RZ470Word* third) {
    return onUnit(kCall_GetSoftwareVersion, dev, args(dev, major, second, third), [&](SimUnit& unit) {
        if (major == nullptr || second == nullptr || third == nullptr)
            return 0;
        *major = unit.version[0];
        *second = unit.version[1];
        *third = unit.version[2];
        return 1;
    });
}

int RZ470_CALL SetUnitSerialNumber(RZ470Word dev, RZ470Word serial) {
    return onUnit(kCall_SetUnitSerialNumber, dev, args(dev, serial), [&](SimUnit& unit) {
        // A service operation: refused until a privilege key has been given.
        if (unit.privilege == 0)
            return 0;
        unit.serial = serial;
        return 1;
    });
}

int RZ470_CALL GetUnitSerialNumber(RZ470Word dev, RZ470Word* serial) {
    return getUnitValue(kCall_GetUnitSerialNumber, dev, serial, &SimUnit::serial);
}

int RZ470_CALL GetSerialIdentifier(RZ470Word dev, RZ470Byte* letter) {
    return getUnitValue(kCall_GetSerialIdentifier, dev, letter, &SimUnit::identifier);
}

int RZ470_CALL UpdateEEProm(RZ470Word dev) {
    return onUnit(kCall_UpdateEEProm, dev, args(dev), [](SimUnit&) { return 1; });
}

int RZ470_CALL ReadEEProm(RZ470Word dev) {
    return onUnit(kCall_ReadEEProm, dev, args(dev), [](SimUnit&) { return 1; });
}

int RZ470_CALL EnablePrivilidge(RZ470Word dev, RZ470Word key) {
    return onUnit(kCall_EnablePrivilidge, dev, args(dev, key), [&](SimUnit& unit) {
        unit.privilege = key != 0 ? 1 : 0;
        return 1;
    });
}

int RZ470_CALL GetPrivilidge(RZ470Word dev, RZ470Byte* level) {
    return getUnitValue(kCall_GetPrivilidge, dev, level, &SimUnit::privilege);
}

int RZ470_CALL Connect(RZ470Word dev) {
    return onUnit(kCall_Connect, dev, args(dev), [](SimUnit& unit) {
        unit.connected = true;
        return 1;
    });
}

int RZ470_CALL TurnONLEDs(RZ470Word dev, SIM_NINE(RZ470Byte, b)) {
    const BytesIn flags = SIM_LIST(b);
    return onUnit(kCall_TurnONLEDs, dev, args(dev, flags), [&](SimUnit& unit) {
        for (int c = 0; c < rz470::kChannelCount; ++c) {
            SimChannel& channel = unit.channels[c];
            if (flags[c] == 1 && channel.canLight())
                channel.on = true;
        }
        return 1;
    });
}

int RZ470_CALL TurnOFFLEDs(RZ470Word dev, SIM_NINE(RZ470Byte, b)) {
    const BytesIn flags = SIM_LIST(b);
    return onUnit(kCall_TurnOFFLEDs, dev, args(dev, flags), [&](SimUnit& unit) {
        for (int c = 0; c < rz470::kChannelCount; ++c) {
            if (flags[c] == 0)
                unit.channels[c].on = false;
        }
        return 1;
    });
}

int RZ470_CALL GetLEDHours(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDHours, dev, SIM_LIST(p), &SimChannel::hours);
}

int RZ470_CALL SetLEDHours(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetLEDHours, dev, SIM_LIST(v), &SimChannel::hours);
}

int RZ470_CALL GetIntensityLevel(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetIntensityLevel, dev, SIM_LIST(p), &SimChannel::intensity);
}

int RZ470_CALL SetIntensityLevel(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetIntensityLevel, dev, SIM_LIST(v), &SimChannel::intensity,
                           rz470::kMaxIntensity);
}

int RZ470_CALL SetDelayTime(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetDelayTime, dev, SIM_LIST(v), &SimChannel::delayTime);
}

int RZ470_CALL SetOnTime(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetOnTime, dev, SIM_LIST(v), &SimChannel::onTime);
}

int RZ470_CALL SetOffTime(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetOffTime, dev, SIM_LIST(v), &SimChannel::offTime);
}

int RZ470_CALL SetTriggerTime(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetTriggerTime, dev, SIM_LIST(v), &SimChannel::triggerTime);
}

int RZ470_CALL GetDelayTime(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetDelayTime, dev, SIM_LIST(p), &SimChannel::delayTime);
}

int RZ470_CALL GetOnTime(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetOnTime, dev, SIM_LIST(p), &SimChannel::onTime);
}

int RZ470_CALL GetOffTime(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetOffTime, dev, SIM_LIST(p), &SimChannel::offTime);
}

int RZ470_CALL GetTriggerTime(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetTriggerTime, dev, SIM_LIST(p), &SimChannel::triggerTime);
}

int RZ470_CALL SetPGStatus(RZ470Word dev, RZ470Byte status) {
    return setUnitValue(kCall_SetPGStatus, dev, status, &SimUnit::pgStatus, SimUnit::kMaxPgStatus);
}

int RZ470_CALL GetPGStatus(RZ470Word dev, RZ470Byte* status) {
    return getUnitValue(kCall_GetPGStatus, dev, status, &SimUnit::pgStatus);
}

int RZ470_CALL SetLCDScreen(RZ470Word dev, RZ470Byte screen) {
    return setUnitValue(kCall_SetLCDScreen, dev, screen, &SimUnit::lcdScreen, SimUnit::kMaxLcdScreen);
}

int RZ470_CALL GetLCDScreen(RZ470Word dev, RZ470Byte* screen) {
    return getUnitValue(kCall_GetLCDScreen, dev, screen, &SimUnit::lcdScreen);
}

int RZ470_CALL SetLCDContrast(RZ470Word dev, RZ470Byte contrast) {
    return setUnitValue(kCall_SetLCDContrast, dev, contrast, &SimUnit::lcdContrast, SimUnit::kMaxLcdContrast);
}

int RZ470_CALL GetLCDContrast(RZ470Word dev, RZ470Byte* contrast) {
    return getUnitValue(kCall_GetLCDContrast, dev, contrast, &SimUnit::lcdContrast);
}

int RZ470_CALL SetLCDVolume(RZ470Word dev, RZ470Byte volume) {
    return setUnitValue(kCall_SetLCDVolume, dev, volume, &SimUnit::lcdVolume, SimUnit::kMaxLcdVolume);
}

int RZ470_CALL GetLCDVolume(RZ470Word dev, RZ470Byte* volume) {
    return getUnitValue(kCall_GetLCDVolume, dev, volume, &SimUnit::lcdVolume);
}

int RZ470_CALL GetLEDTemperatures(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDTemperatures, dev, SIM_LIST(p), &SimChannel::temperature);
}

int RZ470_CALL GetPGUnits(RZ470Word dev, RZ470Byte* units) {
    return getUnitValue(kCall_GetPGUnits, dev, units, &SimUnit::pgUnits);
}

int RZ470_CALL SetPGUnits(RZ470Word dev, RZ470Byte units) {
    return setUnitValue(kCall_SetPGUnits, dev, units, &SimUnit::pgUnits, SimUnit::kMaxPgUnits);
}

int RZ470_CALL SetPGMode(RZ470Word dev, RZ470Byte mode) {
    return setUnitValue(kCall_SetPGMode, dev, mode, &SimUnit::pgMode, SimUnit::kMaxPgMode);
}

int RZ470_CALL GetPGMode(RZ470Word dev, RZ470Byte* mode) {
    return getUnitValue(kCall_GetPGMode, dev, mode, &SimUnit::pgMode);
}

int RZ470_CALL SetScreenSaverTimeOut(RZ470Word dev, RZ470Word minutes) {
    return setUnitValue(kCall_SetScreenSaverTimeOut, dev, minutes, &SimUnit::screenSaverTimeout,
                        static_cast<RZ470Word>(0xFFFF));
}

int RZ470_CALL GetScreenSaverTimeOut(RZ470Word dev, RZ470Word* minutes) {
    return getUnitValue(kCall_GetScreenSaverTimeOut, dev, minutes, &SimUnit::screenSaverTimeout);
}

int RZ470_CALL SetSingleShot(RZ470Word dev, RZ470Byte enabled) {
    return setUnitValue(kCall_SetSingleShot, dev, enabled, &SimUnit::singleShot, SimUnit::kMaxSwitch);
}

int RZ470_CALL GetSingleShot(RZ470Word dev, RZ470Byte* enabled) {
    return getUnitValue(kCall_GetSingleShot, dev, enabled, &SimUnit::singleShot);
}

int RZ470_CALL GetNVMErrorCount(RZ470Word dev, RZ470Word* count) {
    return getUnitValue(kCall_GetNVMErrorCount, dev, count, &SimUnit::nvmErrorCount);
}

int RZ470_CALL GetLEDName(RZ470Word dev, SIM_NINE(char*, p)) {
    return getChannelTexts(kCall_GetLEDName, dev, SIM_LIST(p), &SimChannel::name);
}

int RZ470_CALL GetLEDWaveLength(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDWaveLength, dev, SIM_LIST(p), &SimChannel::wavelength);
}

int RZ470_CALL GetLEDFWHM(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDFWHM, dev, SIM_LIST(p), &SimChannel::fwhm);
}

int RZ470_CALL GetLEDType(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDType, dev, SIM_LIST(p), &SimChannel::ledType);
}

int RZ470_CALL GetLEDMaxTemperature(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDMaxTemperature, dev, SIM_LIST(p), &SimChannel::cutoffTemperature);
}

int RZ470_CALL GetLEDSN(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetLEDSN, dev, SIM_LIST(p), &SimChannel::ledSerial);
}

int RZ470_CALL GetLEDMfgDate(RZ470Word dev, SIM_NINE(char*, p)) {
    // The buffer size is not part of the contract; dates are short enough for a name buffer.
    return getChannelTexts(kCall_GetLEDMfgDate, dev, SIM_LIST(p), &SimChannel::mfgDate);
}

int RZ470_CALL GetDichroicEntry(RZ470Word dev, RZ470Byte entry, RZ470Word* value) {
    return onUnit(kCall_GetDichroicEntry, dev, args(dev, entry, value), [&](SimUnit& unit) {
        if (entry >= SimUnit::kDichroicEntries || value == nullptr)
            return 0;
        *value = unit.dichroicEntries[entry];
        return 1;
    });
}

int RZ470_CALL SetDichroicEntry(RZ470Word dev, RZ470Byte entry, RZ470Word value) {
    return onUnit(kCall_SetDichroicEntry, dev, args(dev, entry, value), [&](SimUnit& unit) {
        if (entry >= SimUnit::kDichroicEntries)
            return 0;
        unit.dichroicEntries[entry] = value;
        return 1;
    });
}

int RZ470_CALL GetDIO(RZ470Word dev, RZ470Byte* inputs) {
    return getUnitValue(kCall_GetDIO, dev, inputs, &SimUnit::digitalInputs);
}

int RZ470_CALL GetMinCurrent(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetMinCurrent, dev, SIM_LIST(p), &SimChannel::minCurrent);
}

int RZ470_CALL SetMinCurrent(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetMinCurrent, dev, SIM_LIST(v), &SimChannel::minCurrent);
}

int RZ470_CALL GetMinIntPercentage(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetMinIntPercentage, dev, SIM_LIST(p), &SimChannel::minIntensityPercent);
}

int RZ470_CALL SetMinIntPercentage(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetMinIntPercentage, dev, SIM_LIST(v), &SimChannel::minIntensityPercent,
                           SimUnit::kMaxPercent);
}

int RZ470_CALL GetMinThreshold(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetMinThreshold, dev, SIM_LIST(p), &SimChannel::minThreshold);
}

int RZ470_CALL SetMinThreshold(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetMinThreshold, dev, SIM_LIST(v), &SimChannel::minThreshold);
}

int RZ470_CALL GetDichroic1Exception(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetDichroic1Exception, dev, SIM_LIST(p), &SimChannel::dichroicException1);
}

int RZ470_CALL SetDichroic1Exception(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetDichroic1Exception, dev, SIM_LIST(v), &SimChannel::dichroicException1);
}

int RZ470_CALL GetDichroic2Exception(RZ470Word dev, SIM_NINE(RZ470Word*, p)) {
    return getChannelWords(kCall_GetDichroic2Exception, dev, SIM_LIST(p), &SimChannel::dichroicException2);
}

int RZ470_CALL SetDichroic2Exception(RZ470Word dev, SIM_NINE(RZ470Word, v)) {
    return setChannelWords(kCall_SetDichroic2Exception, dev, SIM_LIST(v), &SimChannel::dichroicException2);
}

// Channels are numbered 1..9 here, as in the grouping lists.
int RZ470_CALL GetWaveLengthRange(RZ470Word dev, RZ470Byte channel, RZ470Word* low, RZ470Word* high) {
    return onUnit(kCall_GetWaveLengthRange, dev, args(dev, channel, low, high), [&](SimUnit& unit) {
        if (channel < 1 || channel > rz470::kChannelCount || low == nullptr || high == nullptr)
            return 0;
        *low = unit.channels[channel - 1].rangeLow;
        *high = unit.channels[channel - 1].rangeHigh;
        return 1;
    });
}

int RZ470_CALL SetWaveLengthRange(RZ470Word dev, RZ470Byte channel, RZ470Word low, RZ470Word high) {
    return onUnit(kCall_SetWaveLengthRange, dev, args(dev, channel, low, high), [&](SimUnit& unit) {
        if (channel < 1 || channel > rz470::kChannelCount || low > high)
            return 0;
        unit.channels[channel - 1].rangeLow = low;
        unit.channels[channel - 1].rangeHigh = high;
        return 1;
    });
}

int RZ470_CALL SaveUserSettings(RZ470Word dev) {
    return onUnit(kCall_SaveUserSettings, dev, args(dev), [](SimUnit& unit) {
        std::string error;
        if (sim().saveSettings(unit, error))
            return 1;
        std::fprintf(stderr, "rz470-sim: cannot save the unit's settings: %s\n", error.c_str());
        return 0;
    });
}

int RZ470_CALL GetLiveCellMode(RZ470Word dev, RZ470Byte* mode) {
    return getUnitValue(kCall_GetLiveCellMode, dev, mode, &SimUnit::liveCellMode);
}

int RZ470_CALL SetLiveCellMode(RZ470Word dev, RZ470Byte mode) {
    return setUnitValue(kCall_SetLiveCellMode, dev, mode, &SimUnit::liveCellMode, SimUnit::kMaxSwitch);
}

int RZ470_CALL GetTTLSequencing(RZ470Word dev, RZ470Byte* steps, RZ470Byte count) {
    return onUnit(kCall_GetTTLSequencing, dev, args(dev, steps, count), [&](SimUnit& unit) {
        if (steps == nullptr || !validCount(count))
            return 0;
        std::copy_n(unit.ttlSequence.begin(), count, steps);
        return 1;
    });
}

int RZ470_CALL SetTTLSequencing(RZ470Word dev, const RZ470Byte* steps, RZ470Byte count) {
    return onUnit(kCall_SetTTLSequencing, dev, args(dev, Table<RZ470Byte>{steps, count}, count),
                  [&](SimUnit& unit) {
                      if (steps == nullptr || !validCount(count))
                          return 0;
                      for (int i = 0; i < count; ++i) {
                          if (steps[i] > SimUnit::kMaxTtlStep)
                              return 0;
                      }
                      std::copy_n(steps, count, unit.ttlSequence.begin());
                      return 1;
                  });
}

int RZ470_CALL GetGrouping(RZ470Word dev, RZ470Byte group, RZ470Byte* members, RZ470Byte count) {
    return onUnit(kCall_GetGrouping, dev, args(dev, group, members, count), [&](SimUnit& unit) {
        if (group < 1 || group > SimUnit::kGroupCount || members == nullptr || !validCount(count))
            return 0;
        std::copy_n(unit.groups[group - 1].begin(), count, members);
        return 1;
    });
}

int RZ470_CALL SetGrouping(RZ470Word dev, RZ470Byte group, const RZ470Byte* members, RZ470Byte count) {
    return onUnit(kCall_SetGrouping, dev, args(dev, group, Table<RZ470Byte>{members, count}, count),
                  [&](SimUnit& unit) { return unit.setGroup(group, members, count) ? 1 : 0; });
}

int RZ470_CALL GetGroupingEnabled(RZ470Word dev, RZ470Byte* mode) {
    return getUnitValue(kCall_GetGroupingEnabled, dev, mode, &SimUnit::groupingMode);
}

int RZ470_CALL SetGroupingEnabled(RZ470Word dev, RZ470Byte mode) {
    return setUnitValue(kCall_SetGroupingEnabled, dev, mode, &SimUnit::groupingMode,
                        SimUnit::kMaxGroupingMode);
}

int RZ470_CALL GetTTLTimeout(RZ470Word dev, RZ470Word* minutes, RZ470Byte count) {
    return onUnit(kCall_GetTTLTimeout, dev, args(dev, minutes, count), [&](SimUnit& unit) {
        if (minutes == nullptr || !validCount(count))
            return 0;
        std::copy_n(unit.ttlTimeout.begin(), count, minutes);
        return 1;
    });
}

int RZ470_CALL SetTTLTimeout(RZ470Word dev, const RZ470Word* minutes, RZ470Byte count) {
    return onUnit(kCall_SetTTLTimeout, dev, args(dev, Table<RZ470Word>{minutes, count}, count),
                  [&](SimUnit& unit) {
                      if (minutes == nullptr || !validCount(count))
                          return 0;
                      std::copy_n(minutes, count, unit.ttlTimeout.begin());
                      return 1;
                  });
}

const char* RZ470Sim_Command(const char* text) {
    return sim().command(text);
}

}  // extern "C"
