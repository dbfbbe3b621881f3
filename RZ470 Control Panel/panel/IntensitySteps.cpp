#include "IntensitySteps.h"

#include <cmath>

namespace intensitysteps {

uint16_t MinimumLevel(uint16_t minIntensityPercent) {
    const unsigned level = 10u * minIntensityPercent;
    return static_cast<uint16_t>(level > kFullScale ? kFullScale : level);
}

uint16_t StepUp(uint16_t intensity, uint16_t minimum) {
    if (intensity == 0) {
        return minimum;
    }
    if (intensity < kFullScale) {
        return static_cast<uint16_t>(intensity + kStep);
    }
    return intensity;
}

uint16_t StepDown(uint16_t intensity, uint16_t minimum) {
    if (intensity > minimum) {
        return intensity >= kStep ? static_cast<uint16_t>(intensity - kStep) : 0;
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

}  // namespace intensitysteps
