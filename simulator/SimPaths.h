// Where the simulator keeps its files: RZ470_SIM_HOME when set (tests isolate themselves with
// it), else the user's own state folder. Where that is differs per system (SimPathsPosix.cpp,
// SimPathsWindows.cpp); a folder that others could write into is refused, since whoever can write
// there can steer the simulated unit.
#pragma once

#include <cstdint>
#include <string>

class SimPaths {
public:
    static SimPaths fromEnvironment();
    // Where the control folder is looked for, as lines of a usage message.
    static const char* whereDescription();

    const std::string& home() const { return home_; }
    // Why the folder must not be used; empty when it may. Nothing is read from or written to a
    // refused folder.
    const std::string& refusal() const { return refusal_; }
    bool usable() const { return refusal_.empty(); }
    std::string spoolDir() const { return home_ + "/spool"; }
    std::string stateFile(uint16_t serial) const;

    // Creates the folder and its parents, private to the user; true when it exists afterwards.
    static bool ensureDir(const std::string& path);

private:
    // The system's part: home_ from the environment, and refusal_ when it may not be used.
    void findHome();

    std::string home_;
    std::string refusal_;
};
