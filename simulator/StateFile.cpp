#include "StateFile.h"

#include <cstdio>

#include "SimFiles.h"
#include "SimText.h"
#include "UnitFields.h"

namespace {

constexpr std::string_view kHeader = "rz470-sim-state 1\n";
constexpr std::string_view kChecksumKey = "checksum=";

uint32_t checksum(std::string_view text) {
    uint32_t hash = 2166136261u;  // FNV-1a
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 16777619u;
    }
    return hash;
}

std::string checksumLine(std::string_view body) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%08x", static_cast<unsigned>(checksum(body)));
    return std::string(kChecksumKey) + buffer + '\n';
}

void appendFields(std::string& out, UnitFields::Range range, const SimUnit& unit, int channel) {
    for (const UnitFields::Field* f = range.begin; f != range.end; ++f) {
        if ((f->uses & UnitFields::State) == 0)
            continue;
        if (channel >= 0)
            out += "channel" + std::to_string(channel + 1) + '.';
        out += f->key;
        out += '=';
        out += f->get(unit, channel < 0 ? 0 : channel);
        out += '\n';
    }
}

}  // namespace

bool StateFile::save(const std::string& path, const SimUnit& unit, std::string& error) {
    std::string body(kHeader);
    appendFields(body, UnitFields::unitFields(), unit, -1);
    for (int c = 0; c < rz470::kChannelCount; ++c)
        appendFields(body, UnitFields::channelFields(), unit, c);
    body += checksumLine(body);

    return simfiles::writeFileAtomically(path, body, error);
}

bool StateFile::load(const std::string& path, SimUnit& unit, std::string& error) {
    std::string text;
    if (!simfiles::readSmallFile(path, kMaxSize, text, error))
        return false;
    if (text.compare(0, kHeader.size(), kHeader) != 0) {
        error = "unknown format";
        return false;
    }
    const size_t checksumAt = text.rfind(kChecksumKey);
    if (checksumAt == std::string::npos || (checksumAt > 0 && text[checksumAt - 1] != '\n') ||
        text.compare(checksumAt, std::string::npos,
                     checksumLine(std::string_view(text).substr(0, checksumAt))) != 0) {
        error = "checksum does not match";
        return false;
    }

    SimUnit loaded = unit;
    std::string_view lines = std::string_view(text).substr(kHeader.size(), checksumAt - kHeader.size());
    int lineNumber = 1;
    while (!lines.empty()) {
        ++lineNumber;
        const size_t end = lines.find('\n');
        const std::string_view line = lines.substr(0, end);
        lines.remove_prefix(end == std::string_view::npos ? lines.size() : end + 1);
        const size_t equals = line.find('=');
        int channel = -1;
        const UnitFields::Field* field =
            equals == std::string_view::npos ? nullptr : UnitFields::resolve(line.substr(0, equals), channel);
        if (field == nullptr || (field->uses & UnitFields::State) == 0 || field->set == nullptr) {
            error = "line " + std::to_string(lineNumber) + ": unknown entry";
            return false;
        }
        const std::string why = field->set(loaded, channel < 0 ? 0 : channel, line.substr(equals + 1));
        if (!why.empty()) {
            error = "line " + std::to_string(lineNumber) + ": " + why;
            return false;
        }
    }
    unit = loaded;
    return true;
}
