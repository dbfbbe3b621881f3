#include "SimText.h"

#include <charconv>
#include <cstdio>

namespace simtext {

std::optional<unsigned long> parseNumber(std::string_view text, unsigned long max) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    // from_chars accepts a leading '-' for unsigned types on some library versions; refuse it here.
    if (text.empty() || text.front() == '-' || text.front() == '+')
        return std::nullopt;
    unsigned long value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value, base);
    if (ec != std::errc() || ptr != end || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::vector<unsigned long>> parseList(std::string_view text, size_t count, unsigned long max) {
    std::vector<unsigned long> values;
    while (values.size() < count) {
        const size_t comma = text.find(',');
        const auto value = parseNumber(trim(text.substr(0, comma)), max);
        if (!value)
            return std::nullopt;
        values.push_back(*value);
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    if (values.size() != count || text.find(',') != std::string_view::npos)
        return std::nullopt;
    return values;
}

std::string_view trim(std::string_view text) {
    const char* spaces = " \t\r\n";
    const size_t first = text.find_first_not_of(spaces);
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(spaces) - first + 1);
}

std::vector<std::string_view> splitWords(std::string_view text) {
    std::vector<std::string_view> words;
    size_t pos = 0;
    while (pos < text.size()) {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t'))
            ++pos;
        size_t end = pos;
        while (end < text.size() && text[end] != ' ' && text[end] != '\t')
            ++end;
        if (end > pos)
            words.push_back(text.substr(pos, end - pos));
        pos = end;
    }
    return words;
}

bool isStorableText(std::string_view text, size_t maxLength) {
    if (text.size() > maxLength)
        return false;
    for (unsigned char c : text) {
        if (c < 0x20 || c == 0x7F)
            return false;
    }
    return true;
}

std::string hexWord(uint16_t value) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04X", static_cast<unsigned>(value));
    return buffer;
}

}  // namespace simtext
