#pragma once

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
