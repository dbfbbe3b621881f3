#include "ChangedProperties.h"

QVariantMap ChangedProperties::Update(const QVariantMap& now) {
    QVariantMap changed;
    for (auto it = now.begin(); it != now.end(); ++it) {
        const auto last = sent_.constFind(it.key());
        if (last == sent_.constEnd() || last.value() != it.value()) {
            changed.insert(it.key(), it.value());
            sent_.insert(it.key(), it.value());
        }
    }
    return changed;
}
