#pragma once

#include <QJsonObject>
#include <QStringList>

// The panel's status read as lines a person reads: the unit, then one line per LED.
QStringList StatusText(const QJsonObject& status);
