#pragma once

#include <QString>

#include <vector>

namespace settings {

// The integers at the start of text, read the way a "%d,%d,…" pattern reads them: blanks before
// each number are skipped, numbers are separated by commas, and reading stops at the first
// thing that is not such a number (or one beyond int), after at most maxCount numbers.
std::vector<int> LeadingNumbers(const QString& text, int maxCount);

// "1,2,3", or "1,2,3," with a trailing comma.
QString NumberList(const std::vector<int>& numbers, bool trailingComma = false);

}  // namespace settings
