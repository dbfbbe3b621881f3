#pragma once

#include "LedName.h"

#include <QString>
#include <QStringList>

#include <optional>

// The words of a script line, as the panel and its clients split and quote them: words part at
// spaces and tabs; a word in double quotes may hold them, and \" and \\ inside it.
namespace scriptwords {

// Backslashes and double quotes escaped, as a quoted word holds them.
inline QString Escaped(QString text) {
    return text.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('"'), QStringLiteral("\\\""));
}

// text with every character LedName::IsUnprintable names written as \uXXXX (a pair of them for
// one beyond U+FFFF, as JSON writes it), so it stays one line and shows as sent on a terminal
// whatever it holds. JSON text stays the same JSON.
inline QString OneLine(const QString& text) {
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size();) {
        const bool pair = text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const bool escaped = LedName::IsUnprintable(c);
        for (const qsizetype end = i + (pair ? 2 : 1); i < end; ++i) {
            line += escaped ? QStringLiteral("\\u%1").arg(text[i].unicode(), 4, 16, QLatin1Char('0'))
                            : QString(text[i]);
        }
    }
    return line;
}

inline QByteArray OneLine(const QByteArray& utf8) {
    return OneLine(QString::fromUtf8(utf8)).toUtf8();
}

// A word as Split reads it back: in quotes when it has to be.
inline QString Quote(const QString& word) {
    const bool plain = !word.isEmpty() && !word.contains(QLatin1Char(' ')) &&
                       !word.contains(QLatin1Char('\t')) && !word.contains(QLatin1Char('"'));
    return plain ? word : QLatin1Char('"') + Escaped(word) + QLatin1Char('"');
}

inline bool IsSpace(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// None when a quote is left open.
inline std::optional<QStringList> Split(const QString& line) {
    QStringList words;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (true) {
        while (i < n && IsSpace(line[i])) {
            ++i;
        }
        if (i == n) {
            return words;
        }
        QString word;
        if (line[i] != QLatin1Char('"')) {
            while (i < n && !IsSpace(line[i])) {
                word += line[i++];
            }
            words << word;
            continue;
        }
        for (++i;; ++i) {
            if (i == n) {
                return std::nullopt;
            }
            if (line[i] == QLatin1Char('"')) {
                ++i;
                break;
            }
            if (line[i] == QLatin1Char('\\') && i + 1 < n) {
                ++i;
            }
            word += line[i];
        }
        words << word;
    }
}

}  // namespace scriptwords
