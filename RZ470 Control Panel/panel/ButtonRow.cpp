#include "ButtonRow.h"

int FindButton(const ButtonTable& table, int x, int y) {
    for (size_t id = 0; id < table.size(); ++id) {
        if (table[id].region.contains(x, y)) {
            return static_cast<int>(id);
        }
    }
    return kNoButton;
}
