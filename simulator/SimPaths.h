// Where the simulator keeps its files: RZ470_SIM_HOME when set (tests isolate themselves with
// it), else the user's XDG state folder, else a folder of the user's in /tmp. That last one is
// used only when it is the user's own and closed to everyone else: whoever can write into it can
// steer the simulated unit.
#pragma once

#include <cstdint>
#include <string>

class SimPaths {
public:
    static SimPaths fromEnvironment();

    const std::string& home() const { return home_; }
    // Why the folder must not be used; empty when it may. Nothing is read from or written to a
    // refused folder.
    const std::string& refusal() const { return refusal_; }
    bool usable() const { return refusal_.empty(); }
    std::string spoolDir() const { return home_ + "/spool"; }
    std::string stateFile(uint16_t serial) const;

    // Creates the folder and its parents, private to the user; true when it exists afterwards.
    static bool ensureDir(const std::string& path);
    // Makes path a folder of the user's alone (mode 0700) when it is absent; empty when it is
    // then the user's own, a real folder and closed to others, else why not.
    static std::string claimPrivateDir(const std::string& path);

private:
    std::string home_;
    std::string refusal_;
};
