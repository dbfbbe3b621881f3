#include "SimConfig.h"

#include "SimFiles.h"
#include "SimText.h"
#include "UnitFields.h"

namespace {

// "unit<N>.<rest>" → N and rest; false for anything else.
bool splitUnitKey(std::string_view key, int count, int& unit, std::string_view& rest) {
    constexpr std::string_view prefix = "unit";
    const size_t dot = key.find('.');
    if (key.substr(0, prefix.size()) != prefix || dot == std::string_view::npos)
        return false;
    const auto number = simtext::parseNumber(key.substr(prefix.size(), dot - prefix.size()), 255);
    if (!number || static_cast<int>(*number) >= count)
        return false;
    unit = static_cast<int>(*number);
    rest = key.substr(dot + 1);
    return true;
}

bool indicesDistinct(const SimUnit* units, const std::vector<bool>& chosen) {
    for (size_t i = 0; i < chosen.size(); ++i) {
        for (size_t j = i + 1; j < chosen.size(); ++j) {
            if (chosen[i] && chosen[j] && units[i].deviceIndex == units[j].deviceIndex)
                return false;
        }
    }
    return true;
}

// Units without an index of their own keep their number unless a configured unit took it; then
// they get the lowest index left free.
void settleIndices(SimUnit* units, const std::vector<bool>& chosen) {
    std::vector<bool> used(SimUnit::kMaxIndex + 1, false);
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i])
            used[units[i].deviceIndex] = true;
    }
    for (size_t i = 0; i < chosen.size(); ++i) {
        if (chosen[i])
            continue;
        uint16_t index = units[i].deviceIndex;
        if (used[index]) {
            index = 0;
            while (used[index])
                ++index;
        }
        units[i].deviceIndex = index;
        used[index] = true;
    }
}

}  // namespace

int SimConfig::apply(const std::string& path, SimUnit* units, int count, std::vector<std::string>& warnings) {
    int plugged = kDefaultUnitsPlugged;
    if (path.empty())
        return plugged;
    std::string text;
    std::string error;
    if (!simfiles::readSmallFile(path, kMaxSize, text, error)) {
        warnings.push_back(path + ": " + (error.empty() ? std::string("no such file") : error));
        return plugged;
    }

    std::vector<bool> indexChosen(static_cast<size_t>(count), false);
    std::string_view lines(text);
    int lineNumber = 0;
    while (!lines.empty()) {
        ++lineNumber;
        const size_t end = lines.find('\n');
        const std::string_view line = simtext::trim(lines.substr(0, end));
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        const auto warn = [&](const std::string& why) {
            warnings.push_back(path + ":" + std::to_string(lineNumber) + ": " + why);
        };
        const size_t equals = line.find('=');
        if (equals == std::string_view::npos) {
            warn("expected key=value");
            continue;
        }
        const std::string_view key = simtext::trim(line.substr(0, equals));
        const std::string_view value = simtext::trim(line.substr(equals + 1));
        if (key == "units") {
            const auto n = simtext::parseNumber(value, static_cast<unsigned long>(count));
            if (n)
                plugged = static_cast<int>(*n);
            else
                warn("units expects a number 0.." + std::to_string(count));
            continue;
        }
        int unit = 0;
        int channel = -1;
        std::string_view rest;
        const UnitFields::Field* field =
            splitUnitKey(key, count, unit, rest) ? UnitFields::resolve(rest, channel) : nullptr;
        if (field == nullptr || (field->uses & UnitFields::Config) == 0 || field->set == nullptr) {
            warn("unknown key '" + std::string(key) + "'");
            continue;
        }
        const std::string why = field->set(units[unit], channel < 0 ? 0 : channel, value);
        if (!why.empty())
            warn(std::string(key) + " " + why);
        else if (rest == "index")
            indexChosen[static_cast<size_t>(unit)] = true;
    }

    if (!indicesDistinct(units, indexChosen)) {
        warnings.push_back(path + ": two units share a device index; every unit uses its own number instead");
        for (int i = 0; i < count; ++i)
            units[i].deviceIndex = static_cast<uint16_t>(i);
    } else {
        settleIndices(units, indexChosen);
    }
    return plugged;
}
