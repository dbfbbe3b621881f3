#pragma once

#include <QString>

#include <cstddef>

// An LED channel's name between the text entry (wide text) and the channel record (8-bit text,
// NUL-ended, in a fixed field). Names set by the user have at most kMaxLength characters.
//
// The 8-bit form is Latin-1, one byte per character; a character outside Latin-1 (including one
// written as a surrogate pair) becomes a single '?', and so does an embedded NUL, so the stored
// name always has as many bytes as the typed one has characters.
class LedName {
public:
    static constexpr int kMaxLength = 8;

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
    // reported, handed back unchanged by a cancelled dialog) or one that does not fit the field
    // leaves the field untouched and returns false.
    static bool Store(const QString& name, char* field, std::size_t size);
    template <std::size_t N>
    static bool Store(const QString& name, char (&field)[N]) {
        return Store(name, field, N);
    }
};
