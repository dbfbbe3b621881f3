#include "LedName.h"

#include <QByteArray>
#include <QList>

#include <cstring>

QString LedName::Cut(const QString& text) {
    int units = 0;
    for (int characters = 0; units < text.size() && characters < kMaxLength; ++characters) {
        units += (text.at(units).isHighSurrogate() && units + 1 < text.size() &&
                  text.at(units + 1).isLowSurrogate())
                     ? 2
                     : 1;
    }
    return text.left(units);
}

std::optional<QString> LedName::Refusal(const QString& name) {
    for (qsizetype i = 0; i < name.size(); ++i) {
        // Read by hand: toUcs4 would hide half a pair behind U+FFFD.
        char32_t c = name[i].unicode();
        if (name[i].isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            c = QChar::surrogateToUcs4(name[i], name[i + 1]);
            ++i;
        }
        if (IsNameCharacter(c)) {
            continue;
        }
        const QString code =
            QStringLiteral("U+%1").arg(QString::number(uint(c), 16).toUpper(), 4, QLatin1Char('0'));
        if (IsUnprintable(c)) {
            return QStringLiteral("a name cannot hold control, line-break or text-direction characters (%1)")
                .arg(code);
        }
        return QStringLiteral("a name can hold only Latin-1 characters, not \"%1\" (%2)")
            .arg(QString::fromUcs4(&c, 1), code);
    }
    return std::nullopt;
}

int LedName::Length(const QString& text) {
    return static_cast<int>(text.toUcs4().size());
}

QByteArray LedName::ToNarrow(const QString& text) {
    QByteArray narrow;
    for (const char32_t c : text.toUcs4()) {
        narrow.append(c == 0 || c > 0xFF ? '?' : static_cast<char>(c));
    }
    return narrow;
}

QString LedName::FromNarrow(const char* field, std::size_t size) {
    // An empty field may come without any storage.
    const void* end = size > 0 ? std::memchr(field, '\0', size) : nullptr;
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - field) : size;
    return QString::fromLatin1(field, static_cast<qsizetype>(length));
}

bool LedName::Store(const QString& name, char* field, std::size_t size) {
    if (Length(name) > kMaxLength || Refusal(name)) {
        return false;
    }
    const QByteArray narrow = ToNarrow(name);
    if (static_cast<std::size_t>(narrow.size()) >= size) {
        return false;
    }
    std::memcpy(field, narrow.constData(), static_cast<std::size_t>(narrow.size()));
    field[narrow.size()] = '\0';
    return true;
}
