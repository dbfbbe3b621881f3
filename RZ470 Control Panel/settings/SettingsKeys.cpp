#include "SettingsKeys.h"

namespace settings {

QString valueName(const char* pattern, int number) {
    return QString::asprintf(pattern, number);
}

}  // namespace settings
