// The number entry's text as typed: the checks, the conversions, the shown text and the level a
// typed percentage sets.
#include "EntryParser.h"
#include "FuzzCheck.h"
#include "IntensitySteps.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <limits>

namespace {

EntryParser::Verdict ExpectedVerdict(const QString& text) {
    if (text.size() >= EntryParser::kMaxLength) {
        return EntryParser::Verdict::InvalidLength;
    }
    for (const QChar c : text) {
        if (!(c >= QLatin1Char('0') && c <= QLatin1Char('9')) && c != QLatin1Char('.')) {
            return EntryParser::Verdict::InvalidCharacter;
        }
    }
    return EntryParser::Verdict::Accepted;
}

uint16_t ExpectedInteger(const QString& text) {
    int64_t number = 0;
    for (const QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            break;
        }
        number = std::min<int64_t>(std::numeric_limits<uint16_t>::max(), number * 10 + (c.unicode() - '0'));
    }
    // Saturated, never wrapped: a typed 65536 must not become 0.
    return static_cast<uint16_t>(number);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const bool wide = input.ConsumeBool();
    const auto minimumPercent = input.ConsumeIntegral<uint16_t>();
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    // Typed text is any UTF-16, unpaired surrogates included.
    const QString text = wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                                                   static_cast<qsizetype>(bytes.size() / 2))
                              : QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

    const EntryParser::Verdict verdict = EntryParser::Check(text);
    FUZZ_CHECK(verdict == ExpectedVerdict(text));

    for (const bool decimalMode : {false, true}) {
        constexpr float kUntouchedDecimal = -7.25f;
        constexpr uint16_t kUntouchedValue = 4242;
        float decimalValue = kUntouchedDecimal;
        uint16_t value = kUntouchedValue;
        FUZZ_CHECK(EntryParser::Apply(text, decimalMode, decimalValue, value) == verdict);
        if (verdict != EntryParser::Verdict::Accepted) {
            FUZZ_CHECK(decimalValue == kUntouchedDecimal && value == kUntouchedValue);
            continue;
        }
        if (!decimalMode) {
            FUZZ_CHECK(decimalValue == kUntouchedDecimal);
            FUZZ_CHECK(value == ExpectedInteger(text));
            FUZZ_CHECK(EntryParser::IntegerText(value) == QString::number(value));
            continue;
        }
        FUZZ_CHECK(value == kUntouchedValue);
        FUZZ_CHECK(std::isfinite(decimalValue) && decimalValue >= 0.05f);
        // What the field shows next time, and the level the panel takes from the entry.
        const QString shown = EntryParser::DecimalText(decimalValue);
        FUZZ_CHECK(!shown.isEmpty());
        const uint16_t minimum = intensitysteps::MinimumLevel(minimumPercent);
        FUZZ_CHECK(minimum <= intensitysteps::kFullScale);
        if (const std::optional<uint16_t> level = intensitysteps::TypedLevel(decimalValue, minimum)) {
            FUZZ_CHECK(*level <= intensitysteps::kFullScale);
            FUZZ_CHECK(*level == 0 || *level >= minimum);
        }
    }
    // The conversions stand alone too (callers that skip the check).
    FUZZ_CHECK(EntryParser::IntegerValue(text) == ExpectedInteger(text));
    const float decimal = EntryParser::DecimalValue(text);
    FUZZ_CHECK(std::isfinite(decimal));
    return 0;
}
