#include "ButtonRow.h"

int FindButton(const ButtonTable& table, int x, int y) {
    for (size_t id = 0; id < table.size(); ++id) {
        if (table[id].region.contains(x, y)) {
            return static_cast<int>(id);
        }
    }
    return kNoButton;
}

bool IsButton(const ButtonRow& row) {
    return !row.region.isEmpty();
}

QString AccessibleName(const ButtonRow& row) {
    if (row.access.name) {
        return row.access.name();
    }
    return row.caption.text != nullptr ? QString::fromLatin1(row.caption.text) : QString();
}

QString AccessibleValue(const ButtonRow& row) {
    return row.access.value ? row.access.value() : QString();
}

bool IsChecked(const ButtonRow& row) {
    return row.access.role == ButtonAccess::Role::Toggle && row.access.checked && row.access.checked();
}
