#pragma once

#include <QString>

#include <cstdint>

// What NumberEntry does with the text when OK is pressed, without the window: the length and
// character checks and the conversion into the value fields.
class EntryParser {
public:
    enum class Verdict { Accepted, InvalidLength, InvalidCharacter };

    // Texts of this length or more are refused before anything else is looked at.
    static constexpr int kMaxLength = 20;

    // Checks text and, when it is accepted, converts it into decimalValue (decimal mode) or value
    // (integer mode). A refused text changes neither field.
    static Verdict Apply(const QString& text, bool decimalMode, float& decimalValue, uint16_t& value);

    static Verdict Check(const QString& text);

    // The leading decimal number at single precision, plus 0.05 so that callers which multiply by
    // 10 and truncate get the tenths that were typed (37.3 gives 373, not 372). Empty gives 0.05.
    static float DecimalValue(const QString& text);

    // The leading integer, saturating at 65535. Cut to its low 16 bits instead, a typed 65536
    // would become 0 (a TTL timeout switched off) and 65545 a sequence step of 9.
    static uint16_t IntegerValue(const QString& text);

    // What the field shows for the current value.
    static QString DecimalText(float decimalValue);
    static QString IntegerText(uint16_t value);
};
