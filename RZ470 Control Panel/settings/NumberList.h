#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace settings {

// The integer at text[at] read the way strtol reads one: blanks, a sign, digits; at moves past it.
// None, and at unchanged, when no digit follows. Beyond ±(2^31 + 1) the value saturates, so a
// caller can still tell a number that does not fit 32 bits.
std::optional<int64_t> ScanInteger(const QString& text, int& at);

// The integers at the start of text, read the way a "%d,%d,…" pattern reads them: blanks before
// each number are skipped, numbers are separated by commas, and reading stops at the first
// thing that is not such a number (or one beyond int), after at most maxCount numbers.
std::vector<int> LeadingNumbers(const QString& text, int maxCount);

// "1,2,3", or "1,2,3," with a trailing comma.
QString NumberList(const std::vector<int>& numbers, bool trailingComma = false);

}  // namespace settings
