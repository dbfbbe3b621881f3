#pragma once

#include <cstdint>
#include <vector>

// Blends an opaque colour into a row of opaque pixels, each pixel at its own coverage, rounding as
// the painter's raster engine rounds for an opaque pen on an RGB32 image: per channel, the
// colour's share plus the pixel's share, each x * a / 255 rounded its way. Coverage 0 leaves a
// pixel as it was and 255 sets the colour, so a span may carry gaps and padding at no risk.
namespace coverage_blend {

using SpanBlend = void (*)(uint32_t* pixels, const uint8_t* coverage, int count, uint32_t colour);

struct Variant {
    const char* name;
    SpanBlend blend;
};

// One pixel, the reference the others are held to.
uint32_t Pixel(uint32_t pixel, uint32_t colour, uint32_t coverage);

// The fastest variant this processor runs; chosen once.
SpanBlend Fastest();

// Every variant built in that this processor runs, the portable one first.
std::vector<Variant> Variants();

}  // namespace coverage_blend
