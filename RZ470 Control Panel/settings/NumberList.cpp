#include "NumberList.h"

#include <QStringList>

#include <limits>

namespace settings {

std::vector<int> LeadingNumbers(const QString& text, int maxCount) {
    std::vector<int> numbers;
    int at = 0;
    const int length = static_cast<int>(text.size());
    while (static_cast<int>(numbers.size()) < maxCount) {
        if (!numbers.empty()) {
            if (at >= length || text[at] != QLatin1Char(',')) {
                break;
            }
            ++at;
        }
        while (at < length && text[at].isSpace()) {
            ++at;
        }
        bool negative = false;
        if (at < length && (text[at] == QLatin1Char('-') || text[at] == QLatin1Char('+'))) {
            negative = text[at] == QLatin1Char('-');
            ++at;
        }
        const int digitsFrom = at;
        long long value = 0;
        while (at < length && text[at] >= QLatin1Char('0') && text[at] <= QLatin1Char('9')) {
            value = value * 10 + (text[at].unicode() - '0');
            if (value > std::numeric_limits<int>::max() + 1LL) {
                return numbers;
            }
            ++at;
        }
        if (at == digitsFrom) {
            break;
        }
        value = negative ? -value : value;
        if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) {
            break;
        }
        numbers.push_back(static_cast<int>(value));
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
