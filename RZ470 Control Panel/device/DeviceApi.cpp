#include "DeviceApi.h"

void DeviceApi::clearEntryPoints() {
#define RZ470_CLEAR_POINTER(name, ret, params) name = nullptr;
    RZ470_ENTRY_POINTS(RZ470_CLEAR_POINTER)
#undef RZ470_CLEAR_POINTER
}
