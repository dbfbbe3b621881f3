#include "BusValues.h"

#include <QJsonArray>
#include <QList>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

bool IsInt(const QJsonValue& value) {
    if (!value.isDouble()) {
        return false;
    }
    const double number = value.toDouble();
    return std::trunc(number) == number && number >= std::numeric_limits<int>::min() &&
           number <= std::numeric_limits<int>::max();
}

template <typename Test>
bool AllAre(const QJsonArray& array, Test test) {
    return !array.isEmpty() && std::all_of(array.begin(), array.end(), test);
}

QVariant FromArray(const QJsonArray& array) {
    if (AllAre(array, [](const QJsonValue& v) { return IsInt(v); })) {
        QList<int> ints;
        for (const QJsonValue& v : array) {
            ints.append(static_cast<int>(v.toDouble()));
        }
        return QVariant::fromValue(ints);
    }
    if (AllAre(array, [](const QJsonValue& v) { return v.isString(); })) {
        QStringList strings;
        for (const QJsonValue& v : array) {
            strings.append(v.toString());
        }
        return strings;
    }
    if (AllAre(array, [](const QJsonValue& v) { return v.isBool(); })) {
        QList<bool> flags;
        for (const QJsonValue& v : array) {
            flags.append(v.toBool());
        }
        return QVariant::fromValue(flags);
    }
    QVariantList items;
    for (const QJsonValue& v : array) {
        items.append(busvalues::FromJson(v));
    }
    return items;
}

}  // namespace

namespace busvalues {

QVariant FromJson(const QJsonValue& value) {
    switch (value.type()) {
        case QJsonValue::Bool:
            return value.toBool();
        case QJsonValue::Double:
            return IsInt(value) ? QVariant(static_cast<int>(value.toDouble())) : QVariant(value.toDouble());
        case QJsonValue::String:
            return value.toString();
        case QJsonValue::Array:
            return FromArray(value.toArray());
        case QJsonValue::Object:
            return FromJson(value.toObject());
        default:
            // D-Bus has no null; in a list an empty string stands for "not known".
            return QString();
    }
}

QVariantMap FromJson(const QJsonObject& object) {
    QVariantMap map;
    for (auto it = object.begin(); it != object.end(); ++it) {
        // A value not known yet is left out: a key of one fixed type or none at all.
        if (!it.value().isNull()) {
            map.insert(it.key(), FromJson(it.value()));
        }
    }
    return map;
}

}  // namespace busvalues
