#include "IntensitySteps.h"

#include <algorithm>
#include <cmath>

namespace intensitysteps {

uint16_t MinimumLevel(uint16_t minIntensityPercent) {
    const unsigned level = 10u * minIntensityPercent;
    return static_cast<uint16_t>(level > kFullScale ? kFullScale : level);
}

uint16_t StepUp(uint16_t intensity, uint16_t minimum) {
    if (intensity == 0) {
        // With no minimum the jump to it would leave the arrow stuck at 0.
        return minimum != 0 ? minimum : kStep;
    }
    if (intensity < kFullScale) {
        return std::min<uint16_t>(static_cast<uint16_t>(intensity + kStep), kFullScale);
    }
    return intensity;
}

uint16_t StepDown(uint16_t intensity, uint16_t minimum) {
    if (intensity > minimum) {
        return intensity - minimum >= kStep ? static_cast<uint16_t>(intensity - kStep) : minimum;
    }
    if (intensity == minimum) {
        return 0;
    }
    return intensity;
}

std::optional<uint16_t> TenthsFromPercent(float percent) {
    // In single precision, like the entry itself: 33.3f × 10 is exactly 333 there but 332.99… in
    // double, so a cancelled entry would lose a tenth.
    const float tenths = std::trunc(percent * 10.0f);
    if (!(tenths >= 0.0f && tenths <= 65535.0f)) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(tenths);
}

bool AcceptTyped(uint16_t tenths, uint16_t minimum) {
    return tenths == 0 || (minimum <= tenths && tenths <= kHighestTyped);
}

std::optional<uint16_t> TypedLevel(float percent, uint16_t minimum) {
    const std::optional<uint16_t> tenths = TenthsFromPercent(percent);
    if (!tenths || !AcceptTyped(*tenths, minimum)) {
        return std::nullopt;
    }
    return std::min(*tenths, kFullScale);
}

}  // namespace intensitysteps
