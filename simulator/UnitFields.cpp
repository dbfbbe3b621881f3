#include "UnitFields.h"

#include <type_traits>

#include "SimText.h"

namespace {

using Field = UnitFields::Field;
using simtext::parseNumber;

std::string numberError(unsigned long max) {
    return "expects a number 0.." + std::to_string(max);
}

template <auto Member, unsigned long Max>
std::string getUnitNumber(const SimUnit& u, int) {
    return std::to_string(static_cast<unsigned long>(u.*Member));
}

template <auto Member, unsigned long Max>
std::string setUnitNumber(SimUnit& u, int, std::string_view value) {
    const auto n = parseNumber(value, Max);
    if (!n)
        return numberError(Max);
    u.*Member = static_cast<std::decay_t<decltype(u.*Member)>>(*n);
    return {};
}

template <auto Member, unsigned long Max>
std::string getChannelNumber(const SimUnit& u, int c) {
    return std::to_string(static_cast<unsigned long>(u.channels[c].*Member));
}

template <auto Member, unsigned long Max>
std::string setChannelNumber(SimUnit& u, int c, std::string_view value) {
    const auto n = parseNumber(value, Max);
    if (!n)
        return numberError(Max);
    u.channels[c].*Member = static_cast<std::decay_t<decltype(u.channels[c].*Member)>>(*n);
    return {};
}

template <auto Member, size_t MaxLength>
std::string getChannelText(const SimUnit& u, int c) {
    return u.channels[c].*Member;
}

template <auto Member, size_t MaxLength>
std::string setChannelText(SimUnit& u, int c, std::string_view value) {
    if (!simtext::isStorableText(value, MaxLength))
        return "expects text of at most " + std::to_string(MaxLength) + " characters";
    u.channels[c].*Member = std::string(value);
    return {};
}

template <auto Member, unsigned long Max>
std::string getUnitList(const SimUnit& u, int) {
    return simtext::joinNumbers(u.*Member);
}

template <auto Member, unsigned long Max>
std::string setUnitList(SimUnit& u, int, std::string_view value) {
    auto& list = u.*Member;
    const auto values = simtext::parseList(value, list.size(), Max);
    if (!values)
        return "expects " + std::to_string(list.size()) + " comma-separated numbers 0.." +
               std::to_string(Max);
    for (size_t i = 0; i < list.size(); ++i)
        list[i] = static_cast<std::decay_t<decltype(list[i])>>((*values)[i]);
    return {};
}

template <int Group>
std::string getGroup(const SimUnit& u, int) {
    return simtext::joinNumbers(u.groups[Group - 1]);
}

template <int Group>
std::string setGroup(SimUnit& u, int, std::string_view value) {
    const auto values = simtext::parseList(value, rz470::kTableWidth, rz470::kChannelCount);
    const char* why = "expects 9 comma-separated LED numbers 1..9, distinct, ended by 0";
    if (!values)
        return why;
    uint8_t row[rz470::kTableWidth];
    for (int i = 0; i < rz470::kTableWidth; ++i)
        row[i] = static_cast<uint8_t>((*values)[i]);
    return u.setGroup(Group, row, rz470::kTableWidth) ? std::string() : why;
}

std::string getChannelOn(const SimUnit& u, int c) {
    return u.channels[c].on ? "1" : "0";
}

std::string getChannelStatus(const SimUnit& u, int c) {
    return simtext::hexWord(u.channels[c].status());
}

std::string setChannelStatus(SimUnit& u, int c, std::string_view value) {
    const auto n = parseNumber(value, 0xFFFF);
    if (!n || (*n & rz470::ChannelStatus::LedOn) != 0)
        return "expects a status word without bit 0 (that bit follows the LED)";
    u.channels[c].flags = static_cast<uint16_t>(*n);
    return {};
}

std::string getIdentifier(const SimUnit& u, int) {
    return std::string(1, static_cast<char>(u.identifier));
}

std::string setIdentifier(SimUnit& u, int, std::string_view value) {
    if (value.size() != 1 || value[0] <= ' ' || value[0] > '~')
        return "expects one printable character";
    u.identifier = static_cast<uint8_t>(value[0]);
    return {};
}

std::string getUnitStatus(const SimUnit& u, int) {
    return simtext::hexWord(u.unitStatus());
}

std::string setUnitStatus(SimUnit& u, int, std::string_view value) {
    const auto n = parseNumber(value, 0xFFFF);
    if (!n)
        return numberError(0xFFFF);
    u.unitFlags = static_cast<uint16_t>(*n);
    return {};
}

std::string getDeviceName(const SimUnit& u, int) {
    return u.deviceName;
}

std::string setDeviceName(SimUnit& u, int, std::string_view value) {
    if (!simtext::isStorableText(value, SimUnit::kMaxNameLength))
        return "expects text of at most " + std::to_string(SimUnit::kMaxNameLength) + " characters";
    u.deviceName = std::string(value);
    return {};
}

using U = UnitFields;
constexpr unsigned kAll = U::Config | U::State | U::Status;
constexpr unsigned kConfigStatus = U::Config | U::Status;
constexpr unsigned kConfigState = U::Config | U::State;

#define SIM_UNIT_NUMBER(key, uses, member, max) \
    { key, uses, getUnitNumber<&SimUnit::member, max>, setUnitNumber<&SimUnit::member, max> }
#define SIM_CHANNEL_NUMBER(key, uses, member, max) \
    { key, uses, getChannelNumber<&SimChannel::member, max>, setChannelNumber<&SimChannel::member, max> }
#define SIM_GROUP(n) \
    { "group" #n, kAll, getGroup<n>, setGroup<n> }

const Field kUnitFields[] = {
    SIM_UNIT_NUMBER("index", kConfigStatus, deviceIndex, SimUnit::kMaxIndex),
    SIM_UNIT_NUMBER("serial", kConfigStatus, serial, 0xFFFF),
    {"identifier", kConfigStatus, getIdentifier, setIdentifier},
    {"version", kConfigStatus, getUnitList<&SimUnit::version, 0xFFFF>,
     setUnitList<&SimUnit::version, 0xFFFF>},
    {"unitStatus", kConfigStatus, getUnitStatus, setUnitStatus},
    SIM_UNIT_NUMBER("groupingMode", kAll, groupingMode, SimUnit::kMaxGroupingMode),
    SIM_GROUP(1),
    SIM_GROUP(2),
    SIM_GROUP(3),
    SIM_GROUP(4),
    SIM_GROUP(5),
    SIM_GROUP(6),
    {"ttlSequence", kAll, getUnitList<&SimUnit::ttlSequence, SimUnit::kMaxTtlStep>,
     setUnitList<&SimUnit::ttlSequence, SimUnit::kMaxTtlStep>},
    {"ttlTimeout", kAll, getUnitList<&SimUnit::ttlTimeout, 0xFFFF>,
     setUnitList<&SimUnit::ttlTimeout, 0xFFFF>},
    {"deviceName", kConfigState, getDeviceName, setDeviceName},
    SIM_UNIT_NUMBER("programMode", U::State, programMode, SimUnit::kMaxProgramMode),
    SIM_UNIT_NUMBER("pgStatus", U::State, pgStatus, SimUnit::kMaxPgStatus),
    SIM_UNIT_NUMBER("pgUnits", U::State, pgUnits, SimUnit::kMaxPgUnits),
    SIM_UNIT_NUMBER("pgMode", U::State, pgMode, SimUnit::kMaxPgMode),
    SIM_UNIT_NUMBER("lcdScreen", U::State, lcdScreen, SimUnit::kMaxLcdScreen),
    SIM_UNIT_NUMBER("lcdContrast", U::State, lcdContrast, SimUnit::kMaxLcdContrast),
    SIM_UNIT_NUMBER("lcdVolume", U::State, lcdVolume, SimUnit::kMaxLcdVolume),
    SIM_UNIT_NUMBER("singleShot", U::State, singleShot, SimUnit::kMaxSwitch),
    SIM_UNIT_NUMBER("liveCellMode", U::State, liveCellMode, SimUnit::kMaxSwitch),
    SIM_UNIT_NUMBER("screenSaverTimeout", U::State, screenSaverTimeout, 0xFFFF),
    {"dichroicEntries", U::State, getUnitList<&SimUnit::dichroicEntries, 0xFFFF>,
     setUnitList<&SimUnit::dichroicEntries, 0xFFFF>},
};

const Field kChannelFields[] = {
    {"on", U::Status, getChannelOn, nullptr},
    SIM_CHANNEL_NUMBER("intensity", kAll, intensity, rz470::kMaxIntensity),
    {"status", kConfigStatus, getChannelStatus, setChannelStatus},
    SIM_CHANNEL_NUMBER("wavelength", kConfigStatus, wavelength, 0xFFFF),
    {"name", kAll, getChannelText<&SimChannel::name, SimUnit::kMaxNameLength>,
     setChannelText<&SimChannel::name, SimUnit::kMaxNameLength>},
    SIM_CHANNEL_NUMBER("triggered", kConfigStatus, triggered, 1),
    SIM_CHANNEL_NUMBER("type", kConfigStatus, ledType, 0xFFFF),
    SIM_CHANNEL_NUMBER("minIntensityPercent", kAll, minIntensityPercent, SimUnit::kMaxPercent),
    SIM_CHANNEL_NUMBER("fwhm", U::Config, fwhm, 0xFFFF),
    SIM_CHANNEL_NUMBER("rangeLow", kConfigState, rangeLow, 0xFFFF),
    SIM_CHANNEL_NUMBER("rangeHigh", kConfigState, rangeHigh, 0xFFFF),
    SIM_CHANNEL_NUMBER("temperature", U::Config, temperature, 0xFFFF),
    SIM_CHANNEL_NUMBER("cutoffTemperature", U::Config, cutoffTemperature, 0xFFFF),
    SIM_CHANNEL_NUMBER("ledSerial", U::Config, ledSerial, 0xFFFF),
    SIM_CHANNEL_NUMBER("hours", U::Config, hours, 0xFFFF),
    {"mfgDate", U::Config, getChannelText<&SimChannel::mfgDate, SimUnit::kMaxDateLength>,
     setChannelText<&SimChannel::mfgDate, SimUnit::kMaxDateLength>},
    SIM_CHANNEL_NUMBER("delayTime", U::State, delayTime, 0xFFFF),
    SIM_CHANNEL_NUMBER("onTime", U::State, onTime, 0xFFFF),
    SIM_CHANNEL_NUMBER("offTime", U::State, offTime, 0xFFFF),
    SIM_CHANNEL_NUMBER("triggerTime", U::State, triggerTime, 0xFFFF),
    SIM_CHANNEL_NUMBER("minCurrent", U::State, minCurrent, 0xFFFF),
    SIM_CHANNEL_NUMBER("minThreshold", U::State, minThreshold, 0xFFFF),
    SIM_CHANNEL_NUMBER("dichroicException1", U::State, dichroicException1, 0xFFFF),
    SIM_CHANNEL_NUMBER("dichroicException2", U::State, dichroicException2, 0xFFFF),
};

#undef SIM_UNIT_NUMBER
#undef SIM_CHANNEL_NUMBER
#undef SIM_GROUP

const Field* find(UnitFields::Range range, std::string_view key) {
    for (const Field* f = range.begin; f != range.end; ++f) {
        if (key == f->key)
            return f;
    }
    return nullptr;
}

}  // namespace

UnitFields::Range UnitFields::unitFields() {
    return {std::begin(kUnitFields), std::end(kUnitFields)};
}

UnitFields::Range UnitFields::channelFields() {
    return {std::begin(kChannelFields), std::end(kChannelFields)};
}

const UnitFields::Field* UnitFields::resolve(std::string_view key, int& channel) {
    constexpr std::string_view prefix = "channel";
    channel = -1;
    if (key.substr(0, prefix.size()) != prefix)
        return find(unitFields(), key);
    key.remove_prefix(prefix.size());
    const size_t dot = key.find('.');
    if (dot == std::string_view::npos)
        return nullptr;
    const auto number = parseNumber(key.substr(0, dot), rz470::kChannelCount);
    if (!number || *number < 1)
        return nullptr;
    channel = static_cast<int>(*number) - 1;
    return find(channelFields(), key.substr(dot + 1));
}
