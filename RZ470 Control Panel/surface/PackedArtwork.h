#pragma once

#include "PackedPicture.h"

#include <optional>

// Picture id of the build's artwork at exactly that scale, packed: from the packed file the build
// wrote beside its bitmap, or where there is none, from the bitmap's bytes. None where neither is
// there or readable.
std::optional<PackedPicture> PackedArtwork(int id, int scale);
