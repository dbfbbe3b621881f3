// Loads the simulated library in a process of its own, as a restarted panel does, and prints the
// reply to each command given on the command line; "--update-data" calls UpdateData instead, as
// a polling panel does (it answers the rz470-sim tool).

#include <dlfcn.h>

#include <cstdio>
#include <cstring>

#include "RZ470Sim.h"

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: sim_probe <library> <command>...\n");
        return 2;
    }
    void* library = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        std::fprintf(stderr, "sim_probe: %s\n", dlerror());
        return 2;
    }
    const auto command = reinterpret_cast<RZ470Sim_Command_t>(dlsym(library, "RZ470Sim_Command"));
    if (command == nullptr) {
        std::fprintf(stderr, "sim_probe: no RZ470Sim_Command\n");
        return 2;
    }
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--update-data") == 0) {
            const auto updateData = reinterpret_cast<int (*)()>(dlsym(library, "UpdateData"));
            std::printf("UpdateData -> %d\n", updateData != nullptr ? updateData() : -1);
        } else {
            std::printf("%s\n", command(argv[i]));
        }
    }
    return 0;
}
