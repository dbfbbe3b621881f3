// A device library that depends on a library the loader cannot find.
#include "RZ470VersionNote.h"

RZ470_VERSION_NOTE(1, 0, 0, 0)

extern "C" int rz470_gone_dependency();
extern "C" __attribute__((visibility("default"))) int GetNumDevicesConnected() { return rz470_gone_dependency(); }
