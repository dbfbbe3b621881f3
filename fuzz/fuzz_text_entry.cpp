// The text entry's name on its way to the channel record and back: cutting, narrowing, storing
// into fields of any size (kept exactly as written, or not at all), and names read from fields the
// unit filled without a NUL.
#include "FuzzCheck.h"
#include "LedName.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <vector>

namespace {

// The set names are kept in, written out apart from the code under test: printable Latin-1 but the
// soft hyphen.
bool PrintableLatin1(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x20 && u <= 0x7E) || (u >= 0xA0 && u <= 0xFF && u != 0xAD);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const auto fieldSize = input.ConsumeIntegralInRange<size_t>(1, 60);
    const bool wide = input.ConsumeBool();
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const QString text = wide ? QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.data()),
                                                   static_cast<qsizetype>(bytes.size() / 2))
                              : QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));

    const QString cut = LedName::Cut(text);
    FUZZ_CHECK(text.startsWith(cut));
    FUZZ_CHECK(LedName::Length(cut) <= LedName::kMaxLength);
    FUZZ_CHECK(LedName::Length(text) > LedName::kMaxLength || cut == text);
    // A surrogate pair is never split at the cut.
    FUZZ_CHECK(cut.isEmpty() || cut.size() == text.size() || !cut.back().isHighSurrogate() ||
               !text.at(cut.size()).isLowSurrogate());

    for (const QString& name : {cut, text}) {
        const QByteArray narrow = LedName::ToNarrow(name);
        FUZZ_CHECK(narrow.size() == LedName::Length(name));
        FUZZ_CHECK(!narrow.contains('\0'));

        // A field of exactly its size, so a write or read past it is caught.
        std::vector<char> field(fieldSize, 'x');
        const std::vector<char> before = field;
        const bool kept = !LedName::Refusal(name);
        FUZZ_CHECK(kept == std::all_of(name.begin(), name.end(), PrintableLatin1));
        const bool fits = kept && LedName::Length(name) <= LedName::kMaxLength &&
                          static_cast<size_t>(narrow.size()) < fieldSize;
        FUZZ_CHECK(LedName::Store(name, field.data(), field.size()) == fits);
        if (!fits) {
            FUZZ_CHECK(field == before);
            continue;
        }
        FUZZ_CHECK(field[static_cast<size_t>(narrow.size())] == '\0');
        FUZZ_CHECK(LedName::FromNarrow(field.data(), field.size()) == name);
    }

    // The same bytes as a field the unit filled, with or without a NUL.
    std::vector<char> unitField(bytes.begin(), bytes.end());
    const QString read = LedName::FromNarrow(unitField.data(), unitField.size());
    FUZZ_CHECK(static_cast<size_t>(read.size()) <= unitField.size());
    FUZZ_CHECK(LedName::ToNarrow(read) == QByteArray(unitField.data(), read.size()));
    return 0;
}
