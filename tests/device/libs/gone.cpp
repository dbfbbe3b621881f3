// A library that is deleted, or never found, at run time: whatever links it cannot load.
extern "C" __attribute__((visibility("default"))) int rz470_gone_dependency() { return 1; }
