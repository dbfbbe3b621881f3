// The settings a unit keeps over power cycles, one file per unit serial number. A file that is
// not exactly what save() wrote (truncated, edited, garbled) is refused as a whole.
#pragma once

#include <string>

#include "SimUnit.h"

class StateFile {
public:
    static constexpr size_t kMaxSize = 64 * 1024;

    static bool save(const std::string& path, const SimUnit& unit, std::string& error);
    // Applies the saved settings to `unit`; on false the unit is untouched and `error` says why
    // (empty when there simply is no file).
    static bool load(const std::string& path, SimUnit& unit, std::string& error);
};
