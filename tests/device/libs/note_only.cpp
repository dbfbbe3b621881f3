// Compiled to a relocatable object only: it carries a valid version note but is no library.
#include "RZ470VersionNote.h"

RZ470_VERSION_NOTE(1, 0, 0, 0)
