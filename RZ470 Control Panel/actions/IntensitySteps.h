#pragma once

#include <cstdint>
#include <optional>

// The arithmetic of the intensity controls, in tenths of a percent.
namespace intensitysteps {

constexpr uint16_t kStep = 5;
constexpr uint16_t kFullScale = 1000;
constexpr uint16_t kHighestTyped = 1001;  // a typed 100.1 is taken

// The lowest level the unit accepts, from its minimum percentage; never above full scale.
uint16_t MinimumLevel(uint16_t minIntensityPercent);

// Up arrow: from 0 straight to the minimum m (one step when m is 0), below full scale one step
// up but not past it, else unchanged.
uint16_t StepUp(uint16_t intensity, uint16_t minimum);

// Down arrow: above m one step down but not below m, at m to 0, below m unchanged.
uint16_t StepDown(uint16_t intensity, uint16_t minimum);

// A typed percentage in tenths, truncated toward zero; none when it does not fit 16 bits, so a
// huge entry cannot wrap round into an accepted level.
std::optional<uint16_t> TenthsFromPercent(float percent);

// A typed level is taken when it is 0 or between m and 1001.
bool AcceptTyped(uint16_t tenths, uint16_t minimum);

// The level a typed percentage sets, or none when it is not taken. A typed 100.1 is taken as
// full scale: the unit accepts nothing above it.
std::optional<uint16_t> TypedLevel(float percent, uint16_t minimum);

}  // namespace intensitysteps
