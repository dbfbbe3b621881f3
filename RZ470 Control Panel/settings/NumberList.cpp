#include "NumberList.h"

#include <QStringList>

#include <algorithm>

#include <limits>

namespace settings {

std::optional<int64_t> ScanInteger(const QString& text, int& at) {
    constexpr int64_t kSaturation = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    const int length = static_cast<int>(text.size());
    int scan = at;
    while (scan < length && text[scan].isSpace()) {
        ++scan;
    }
    bool negative = false;
    if (scan < length && (text[scan] == QLatin1Char('-') || text[scan] == QLatin1Char('+'))) {
        negative = text[scan] == QLatin1Char('-');
        ++scan;
    }
    const int digitsFrom = scan;
    int64_t value = 0;
    while (scan < length && text[scan] >= QLatin1Char('0') && text[scan] <= QLatin1Char('9')) {
        value = std::min(kSaturation, value * 10 + (text[scan].unicode() - u'0'));
        ++scan;
    }
    if (scan == digitsFrom) {
        return std::nullopt;
    }
    at = scan;
    return negative ? -value : value;
}

std::vector<int> LeadingNumbers(const QString& text, int maxCount) {
    std::vector<int> numbers;
    int at = 0;
    while (static_cast<int>(numbers.size()) < maxCount) {
        if (!numbers.empty()) {
            if (at >= text.size() || text[at] != QLatin1Char(',')) {
                break;
            }
            ++at;
        }
        const std::optional<int64_t> value = ScanInteger(text, at);
        if (!value || *value > std::numeric_limits<int>::max() || *value < std::numeric_limits<int>::min()) {
            break;
        }
        numbers.push_back(static_cast<int>(*value));
    }
    return numbers;
}

QString NumberList(const std::vector<int>& numbers, bool trailingComma) {
    QStringList parts;
    for (const int number : numbers) {
        parts << QString::number(number);
    }
    QString text = parts.join(QLatin1Char(','));
    if (trailingComma) {
        text += QLatin1Char(',');
    }
    return text;
}

}  // namespace settings
