// The named values of a unit and of its channels. One table serves the configuration file, the
// state file and the status listing, so a key is spelled the same everywhere.
#pragma once

#include <string>
#include <string_view>

#include "SimUnit.h"

class UnitFields {
public:
    enum Use : unsigned { Config = 1, State = 2, Status = 4 };

    struct Field {
        const char* key;
        unsigned uses;
        std::string (*get)(const SimUnit& unit, int channel);
        // Returns an empty text when taken, else why the value was refused (nothing changed).
        std::string (*set)(SimUnit& unit, int channel, std::string_view value);
    };

    struct Range {
        const Field* begin;
        const Field* end;
    };

    static Range unitFields();
    static Range channelFields();

    // Resolves "field" or "channel<1..9>.field" relative to a unit; channel is -1 for a unit field.
    static const Field* resolve(std::string_view key, int& channel);
};
