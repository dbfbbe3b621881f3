// The simulator's own start-up set-up, from the key=value file that RZ470_SIM_CONFIG names:
//   units=2                      units plugged at start (default 1)
//   unit1.serial=77              any configurable unit field, units numbered from 0
//   unit0.channel9.status=0x20   any configurable channel field, channels numbered from 1
// Lines that cannot be used are skipped with a warning; the rest still applies.
#pragma once

#include <string>
#include <vector>

#include "SimUnit.h"

class SimConfig {
public:
    static constexpr size_t kMaxSize = 64 * 1024;
    static constexpr int kDefaultUnitsPlugged = 1;

    // Applies the file to units[0..count); returns how many units are plugged at start.
    static int apply(const std::string& path, SimUnit* units, int count, std::vector<std::string>& warnings);
};
