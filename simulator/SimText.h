// Small text helpers shared by the simulated library and the rz470-sim tool: strict number
// parsing for values that come from commands, configuration and state files, and list formatting.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace simtext {

// Decimal or 0x-prefixed hexadecimal, no sign, no spaces, at most max.
std::optional<unsigned long> parseNumber(std::string_view text, unsigned long max);

// Exactly count comma-separated numbers, each at most max.
std::optional<std::vector<unsigned long>> parseList(std::string_view text, size_t count, unsigned long max);

std::string_view trim(std::string_view text);
std::vector<std::string_view> splitWords(std::string_view text);

// Text the unit can store in a name field: no control characters, at most maxLength bytes.
bool isStorableText(std::string_view text, size_t maxLength);

std::string hexWord(uint16_t value);

template <typename Container>
std::string joinNumbers(const Container& values) {
    std::string out;
    for (auto v : values) {
        if (!out.empty())
            out += ',';
        out += std::to_string(static_cast<unsigned long>(v));
    }
    return out;
}

}  // namespace simtext
