#include "CommandInterpreter.h"

#include "FaultPlan.h"
#include "SimText.h"
#include "Simulator.h"
#include "UnitFields.h"

namespace {

const std::string kOk = "ok";

std::string error(const std::string& why) {
    return "error: " + why;
}

struct BitName {
    const char* name;
    uint16_t mask;
};

constexpr BitName kChannelBits[] = {
    {"nvm", rz470::ChannelStatus::NvmError},
    {"undertemp", rz470::ChannelStatus::UnderTemperature},
    {"mismatch", rz470::ChannelStatus::TypeMismatch},
    {"current", rz470::ChannelStatus::CurrentAlarm},
    {"fitted", rz470::ChannelStatus::Fitted},
    {"present", rz470::ChannelStatus::Present},
    {"overtemp", rz470::ChannelStatus::OverTemperature},
};

constexpr BitName kUnitBits[] = {
    {"alarm", rz470::UnitStatus::AlarmActive}, {"lightguide", rz470::UnitStatus::LightGuideInserted},
    {"ledon", rz470::UnitStatus::LedOn},       {"knoblock", rz470::UnitStatus::KnobLocked},
    {"nvm", rz470::UnitStatus::NvmFailure},    {"performance", rz470::UnitStatus::PerformanceAlarm},
};

// A mask given as a number or as one of the bit names.
template <size_t N>
std::optional<uint16_t> parseMask(std::string_view text, const BitName (&names)[N]) {
    for (const BitName& bit : names) {
        if (text == bit.name)
            return bit.mask;
    }
    const auto number = simtext::parseNumber(text, 0xFFFF);
    if (!number || *number == 0)
        return std::nullopt;
    return static_cast<uint16_t>(*number);
}

template <size_t N>
std::string maskHelp(const BitName (&names)[N]) {
    std::string text = "a nonzero 16-bit number or one of";
    for (const BitName& bit : names)
        text += std::string(" ") + bit.name;
    return text;
}

// Channel numbers are the unit's own, 1..9; the result is the 0-based index.
std::optional<int> parseChannel(std::string_view text) {
    const auto number = simtext::parseNumber(text, rz470::kChannelCount);
    if (!number || *number == 0)
        return std::nullopt;
    return static_cast<int>(*number) - 1;
}

std::optional<bool> parseSetClear(std::string_view text) {
    if (text == "set")
        return true;
    if (text == "clear")
        return false;
    return std::nullopt;
}

void appendStatusFields(std::string& out, const std::string& prefix, UnitFields::Range range,
                        const SimUnit& unit, int channel) {
    for (const UnitFields::Field* f = range.begin; f != range.end; ++f) {
        if ((f->uses & UnitFields::Status) != 0)
            out += prefix + f->key + '=' + f->get(unit, channel) + '\n';
    }
}

}  // namespace

const CommandInterpreter::Command CommandInterpreter::kCommands[] = {
    {"help", "help", 0, 0, false, &CommandInterpreter::help},
    {"status", "status", 0, 0, false, &CommandInterpreter::status},
    {"log", "log [<count>|clear]", 0, 1, false, &CommandInterpreter::log},
    {"reset", "reset", 0, 0, false, &CommandInterpreter::reset},
    {"reload", "reload", 0, 0, false, &CommandInterpreter::reload},
    {"plug", "plug <unit 0..9>", 1, 1, false, &CommandInterpreter::plug},
    {"unplug", "unplug <unit 0..9>", 1, 1, false, &CommandInterpreter::unplug},
    {"led", "[unit <n>] led <channel 1..9> on|off", 2, 2, true, &CommandInterpreter::led},
    {"knob", "[unit <n>] knob <channel 1..9> <intensity 0..1000>", 2, 2, true, &CommandInterpreter::knob},
    {"name", "[unit <n>] name <channel 1..9> <text of 1..19 characters>", 2, -1, true,
     &CommandInterpreter::name},
    {"channel-status", "[unit <n>] channel-status <channel 1..9> set|clear <mask>", 3, 3, true,
     &CommandInterpreter::channelStatus},
    {"unit-status", "[unit <n>] unit-status set|clear <mask>", 2, 2, true, &CommandInterpreter::unitStatus},
    {"triggered", "[unit <n>] triggered <channel 1..9> 0|1", 2, 2, true, &CommandInterpreter::triggered},
    {"fail", "fail <EntryPoint> <count 0..1000000>", 2, 2, false, &CommandInterpreter::fail},
    {"delay", "delay <EntryPoint> <milliseconds 0..10000>", 2, 2, false, &CommandInterpreter::delay},
};

std::string CommandInterpreter::execute(std::string_view text) {
    Request request;
    request.text = text;
    std::vector<std::string_view> words = simtext::splitWords(text);
    if (words.empty())
        return error("empty command (try 'help')");

    bool unitGiven = false;
    if (words[0] == "unit") {
        const auto number =
            words.size() > 1 ? simtext::parseNumber(words[1], Simulator::kMaxUnits - 1) : std::nullopt;
        if (!number)
            return error("'unit' expects a unit number 0.." + std::to_string(Simulator::kMaxUnits - 1) +
                         " followed by a command");
        request.unit = static_cast<int>(*number);
        unitGiven = true;
        words.erase(words.begin(), words.begin() + 2);
        if (words.empty())
            return error("'unit " + std::to_string(request.unit) + "' needs a command after it");
    }

    for (const Command& command : kCommands) {
        if (words[0] != command.name)
            continue;
        if (unitGiven && !command.unitScoped)
            return error(std::string("'") + command.name + "' does not take a unit");
        request.args.assign(words.begin() + 1, words.end());
        const int count = static_cast<int>(request.args.size());
        if (count < command.minArgs || (command.maxArgs >= 0 && count > command.maxArgs))
            return error(std::string("usage: ") + command.usage);
        return (this->*command.handler)(request);
    }
    return error("unknown command '" + std::string(words[0]) + "' (try 'help')");
}

std::string CommandInterpreter::help(const Request&) {
    std::string out;
    for (const Command& command : kCommands)
        out += std::string(out.empty() ? "" : "\n") + command.usage;
    return out;
}

std::string CommandInterpreter::status(const Request&) {
    std::string out = "count=" + std::to_string(sim_.pluggedCount()) + '\n';
    std::string plugged;
    for (int u = 0; u < Simulator::kMaxUnits; ++u) {
        if (sim_.unit(u).plugged)
            plugged += (plugged.empty() ? "" : ",") + std::to_string(u);
    }
    out += "plugged=" + plugged + '\n';
    for (int u = 0; u < Simulator::kMaxUnits; ++u) {
        const SimUnit& unit = sim_.unit(u);
        if (!unit.plugged)
            continue;
        const std::string prefix = "unit" + std::to_string(u) + '.';
        appendStatusFields(out, prefix, UnitFields::unitFields(), unit, 0);
        for (int c = 0; c < rz470::kChannelCount; ++c)
            appendStatusFields(out, prefix + "channel" + std::to_string(c + 1) + '.',
                               UnitFields::channelFields(), unit, c);
    }
    out += sim_.faults().describe();
    out.pop_back();
    return out;
}

std::string CommandInterpreter::log(const Request& request) {
    if (request.args.empty())
        return sim_.log().text(CallLog::kCapacity);
    if (request.args[0] == "clear") {
        sim_.log().clear();
        return kOk;
    }
    const auto count = simtext::parseNumber(request.args[0], CallLog::kCapacity);
    if (!count)
        return error("usage: log [<count 0.." + std::to_string(CallLog::kCapacity) + ">|clear]");
    return sim_.log().text(*count);
}

std::string CommandInterpreter::reset(const Request&) {
    sim_.load(false);
    return kOk;
}

std::string CommandInterpreter::reload(const Request&) {
    sim_.load(true);
    return kOk;
}

std::string CommandInterpreter::plug(const Request& request) {
    return setPlugged(request, true);
}

std::string CommandInterpreter::unplug(const Request& request) {
    return setPlugged(request, false);
}

std::string CommandInterpreter::setPlugged(const Request& request, bool plugged) {
    const auto number = simtext::parseNumber(request.args[0], Simulator::kMaxUnits - 1);
    if (!number)
        return error("unit must be 0.." + std::to_string(Simulator::kMaxUnits - 1));
    SimUnit& unit = sim_.unit(static_cast<int>(*number));
    if (plugged && !unit.plugged && sim_.activeUnit(unit.deviceIndex) != nullptr)
        return error("device index " + std::to_string(unit.deviceIndex) +
                     " is taken by another plugged unit");
    if (unit.plugged != plugged) {
        unit.plugged = plugged;
        // Pulling the cable ends the connection and the unit comes back dark.
        unit.connected = false;
        for (SimChannel& c : unit.channels)
            c.on = false;
    }
    return kOk;
}

std::string CommandInterpreter::led(const Request& request) {
    const auto channel = parseChannel(request.args[0]);
    const bool on = request.args[1] == "on";
    if (!channel || (!on && request.args[1] != "off"))
        return error("usage: [unit <n>] led <channel 1..9> on|off");
    SimChannel& c = sim_.unit(request.unit).channels[*channel];
    if (on && !c.canLight())
        return error("channel " + std::to_string(*channel + 1) + " has no fitted and present LED");
    c.on = on;
    return kOk;
}

std::string CommandInterpreter::knob(const Request& request) {
    const auto channel = parseChannel(request.args[0]);
    const auto intensity = simtext::parseNumber(request.args[1], rz470::kMaxIntensity);
    if (!channel || !intensity)
        return error("usage: [unit <n>] knob <channel 1..9> <intensity 0..1000>");
    SimUnit& unit = sim_.unit(request.unit);
    if ((unit.unitFlags & rz470::UnitStatus::KnobLocked) != 0)
        return error("the unit's knob is locked (unit-status knoblock)");
    unit.channels[*channel].intensity = static_cast<uint16_t>(*intensity);
    return kOk;
}

std::string CommandInterpreter::name(const Request& request) {
    const auto channel = parseChannel(request.args[0]);
    if (!channel)
        return error("channel must be 1..9");
    const std::string_view& after = request.args[1];
    const std::string_view text =
        simtext::trim(request.text.substr(static_cast<size_t>(after.data() - request.text.data())));
    if (!simtext::isStorableText(text, SimUnit::kMaxNameLength))
        return error("a name is 1.." + std::to_string(SimUnit::kMaxNameLength) + " printable characters");
    sim_.unit(request.unit).channels[*channel].name = std::string(text);
    return kOk;
}

std::string CommandInterpreter::channelStatus(const Request& request) {
    const auto channel = parseChannel(request.args[0]);
    const auto set = parseSetClear(request.args[1]);
    const auto mask = parseMask(request.args[2], kChannelBits);
    if (!channel || !set)
        return error("usage: [unit <n>] channel-status <channel 1..9> set|clear <mask>");
    if (!mask)
        return error("mask must be " + maskHelp(kChannelBits));
    if ((*mask & rz470::ChannelStatus::LedOn) != 0)
        return error("bit 0 follows the LED; use 'led'");
    SimChannel& c = sim_.unit(request.unit).channels[*channel];
    c.flags = *set ? (c.flags | *mask) : (c.flags & ~*mask);
    if (!c.canLight())
        c.on = false;
    return kOk;
}

std::string CommandInterpreter::unitStatus(const Request& request) {
    const auto set = parseSetClear(request.args[0]);
    const auto mask = parseMask(request.args[1], kUnitBits);
    if (!set)
        return error("usage: [unit <n>] unit-status set|clear <mask>");
    if (!mask)
        return error("mask must be " + maskHelp(kUnitBits));
    SimUnit& unit = sim_.unit(request.unit);
    unit.unitFlags = *set ? (unit.unitFlags | *mask) : (unit.unitFlags & ~*mask);
    return kOk;
}

std::string CommandInterpreter::triggered(const Request& request) {
    const auto channel = parseChannel(request.args[0]);
    const auto value = simtext::parseNumber(request.args[1], 1);
    if (!channel || !value)
        return error("usage: [unit <n>] triggered <channel 1..9> 0|1");
    sim_.unit(request.unit).channels[*channel].triggered = static_cast<uint8_t>(*value);
    return kOk;
}

std::string CommandInterpreter::fail(const Request& request) {
    const int id = FaultPlan::find(request.args[0]);
    if (id < 0)
        return error("unknown entry point '" + std::string(request.args[0]) + "'");
    const auto count = simtext::parseNumber(request.args[1], FaultPlan::kMaxFailures);
    if (!count)
        return error("count must be 0.." + std::to_string(FaultPlan::kMaxFailures));
    sim_.faults().setFailures(static_cast<EntryId>(id), *count);
    return kOk;
}

std::string CommandInterpreter::delay(const Request& request) {
    const int id = FaultPlan::find(request.args[0]);
    if (id < 0)
        return error("unknown entry point '" + std::string(request.args[0]) + "'");
    const auto ms = simtext::parseNumber(request.args[1], FaultPlan::kMaxDelayMs);
    if (!ms)
        return error("milliseconds must be 0.." + std::to_string(FaultPlan::kMaxDelayMs));
    sim_.faults().setDelay(static_cast<EntryId>(id), *ms);
    return kOk;
}
