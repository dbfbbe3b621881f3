#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// What the panel stored of an LED module, keyed by its wavelength. The full read of the unit
// asks for it; whoever keeps the panel's settings answers.
struct StoredChannelValues {
    // The stored name; empty when none.
    std::function<QString(uint16_t wavelength)> name;
    // The stored level 0..1000; none when absent or not a level.
    std::function<std::optional<uint16_t>(uint16_t wavelength)> intensity;
};
