#pragma once

#include <QChar>
#include <QString>

#include <cstddef>
#include <optional>

// An LED channel's name between the text entry (wide text) and the channel record (8-bit text,
// NUL-ended, in a fixed field). Names set by the user have at most kMaxLength characters.
//
// The 8-bit form is Latin-1, one byte per character, and the panel's face draws every printable
// Latin-1 character; a name is kept only when it is written in those alone (Refusal). ToNarrow,
// given anything else, turns a character outside Latin-1 (including one written as a surrogate
// pair) into a single '?', and so an embedded NUL, so its result has as many bytes as the name
// has characters.
class LedName {
public:
    static constexpr int kMaxLength = 8;

    // A character that must never reach a line of text as it is: a control character (C0, DEL,
    // C1 such as NEL), a format character (direction overrides, the soft hyphen, zero-width
    // marks), a line or paragraph separator, half a surrogate pair or an unassigned code point.
    // Inline, so a client of the script socket can use it without the panel's code.
    static bool IsUnprintable(char32_t c) {
        switch (QChar::category(c)) {
            case QChar::Other_Control:
            case QChar::Other_Format:
            case QChar::Other_Surrogate:
            case QChar::Other_NotAssigned:
            case QChar::Separator_Line:
            case QChar::Separator_Paragraph:
                return true;
            default:
                return false;
        }
    }

    // Whether c can stand in a name as written: a printable Latin-1 character.
    static bool IsNameCharacter(char32_t c) { return c <= 0xFF && !IsUnprintable(c); }

    // Why name cannot be kept as written, in words for whoever gave it (a script, the text
    // entry); none when every character of it can. Says nothing of its length.
    static std::optional<QString> Refusal(const QString& name);

    // The first kMaxLength characters; a surrogate pair is never split.
    static QString Cut(const QString& text);

    // Number of characters, counting a surrogate pair as one.
    static int Length(const QString& text);

    // The 8-bit form of text, at most kMaxLength bytes when text came through Cut.
    static QByteArray ToNarrow(const QString& text);

    // Reads a NUL-ended name from a field of size bytes; stops at the field's end when the NUL is
    // missing.
    static QString FromNarrow(const char* field, std::size_t size);
    template <std::size_t N>
    static QString FromNarrow(const char (&field)[N]) {
        return FromNarrow(field, N);
    }

    // Writes name into the field, NUL-ended. A name longer than kMaxLength characters (one the unit
    // reported, handed back unchanged by a cancelled dialog), one with a character Refusal names or
    // one that does not fit the field leaves the field untouched and returns false.
    static bool Store(const QString& name, char* field, std::size_t size);
    template <std::size_t N>
    static bool Store(const QString& name, char (&field)[N]) {
        return Store(name, field, N);
    }
};
