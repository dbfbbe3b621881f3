// Compiled against one library's include path: the header named by RZ470_PROBE_HEADER is either
// one the library may use, or one of a library above it, which must not be found.
#include RZ470_PROBE_HEADER
