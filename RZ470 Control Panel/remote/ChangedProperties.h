#pragma once

#include <QVariantMap>

// The properties last announced on the bus: given their values now, tells which differ and
// remembers them, so that each change is announced once and an unchanged value never.
class ChangedProperties {
public:
    QVariantMap Update(const QVariantMap& now);

private:
    QVariantMap sent_;
};
