// A stand-in device library whose every entry point fails. Compile definitions shape the broken
// variants the binding must refuse:
//   STUB_VERSION_MAJOR, STUB_VERSION_MINOR  version note contents
//   STUB_NO_NOTE                            no version note at all
//   SetTTLTimeout=<other name>              exports that entry point under another name
#include "RZ470Api.h"
#include "RZ470VersionNote.h"

#if !defined(STUB_NO_NOTE)
RZ470_VERSION_NOTE(STUB_VERSION_MAJOR, STUB_VERSION_MINOR, 0, 0)
#endif

#pragma GCC diagnostic ignored "-Wunused-parameter"

#define STUB_EXPORT(name, ret, params) \
    extern "C" __attribute__((visibility("default"))) ret name params { return 0; }
RZ470_ENTRY_POINTS(STUB_EXPORT)
