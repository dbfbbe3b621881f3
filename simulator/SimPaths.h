// Where the simulator keeps its files: RZ470_SIM_HOME when set (tests isolate themselves with
// it), else the user's XDG state folder.
#pragma once

#include <cstdint>
#include <string>

class SimPaths {
public:
    static SimPaths fromEnvironment();

    const std::string& home() const { return home_; }
    std::string spoolDir() const { return home_ + "/spool"; }
    std::string stateFile(uint16_t serial) const;

    // Creates the folder and its parents, private to the user; true when it exists afterwards.
    static bool ensureDir(const std::string& path);

private:
    std::string home_;
};
