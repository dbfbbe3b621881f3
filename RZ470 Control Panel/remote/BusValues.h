#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QVariant>
#include <QVariantMap>

// The command layer's JSON as D-Bus values a caller can read without guessing: whole numbers as
// int32, lists of numbers, strings or booleans as typed arrays (ai, as, ab), objects as a{sv}
// without the fields whose value is not known (null).
namespace busvalues {
QVariant FromJson(const QJsonValue& value);
QVariantMap FromJson(const QJsonObject& object);
}  // namespace busvalues
