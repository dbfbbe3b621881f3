#include "EntryParser.h"

#include <QByteArray>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isAllowed(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.');
}

}  // namespace

EntryParser::Verdict EntryParser::Apply(const QString& text, bool decimalMode, float& decimalValue,
                                        uint16_t& value) {
    const Verdict verdict = Check(text);
    if (verdict != Verdict::Accepted) {
        return verdict;
    }
    if (decimalMode) {
        decimalValue = DecimalValue(text);
    } else {
        value = IntegerValue(text);
    }
    return verdict;
}

EntryParser::Verdict EntryParser::Check(const QString& text) {
    if (text.size() >= kMaxLength) {
        return Verdict::InvalidLength;
    }
    // Checked on the characters themselves, before any narrowing: cutting a character to one
    // byte could turn a foreign letter into a digit.
    for (const QChar c : text) {
        if (!isAllowed(c)) {
            return Verdict::InvalidCharacter;
        }
    }
    return Verdict::Accepted;
}

float EntryParser::DecimalValue(const QString& text) {
    // from_chars reads the same leading number as strtod but never takes the process locale's
    // decimal separator, which would read 37.3 as 37 under a comma locale.
    const QByteArray digits = text.toLatin1();
    double number = 0.0;
    std::from_chars(digits.constData(), digits.constData() + digits.size(), number, std::chars_format::fixed);
    // Only reachable by callers that skip Check: a sign, a long text, or the words "nan" and "inf",
    // which from_chars takes in any format. Narrowing beyond the float range is undefined, on
    // either side, and a NaN is no number at all.
    constexpr double kFloatMax = std::numeric_limits<float>::max();
    number = std::isnan(number) ? 0.0 : std::clamp(number, -kFloatMax, kFloatMax);
    const float single = static_cast<float>(number);
    return single + 0.05f;
}

uint16_t EntryParser::IntegerValue(const QString& text) {
    constexpr int64_t kLimit = std::numeric_limits<uint16_t>::max();
    int64_t number = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        number = std::min(kLimit, number * 10 + (c.unicode() - u'0'));
    }
    return static_cast<uint16_t>(number);
}

QString EntryParser::DecimalText(float decimalValue) {
    return QString::asprintf("%.1f", static_cast<double>(decimalValue));
}

QString EntryParser::IntegerText(uint16_t value) {
    return QString::number(value);
}
