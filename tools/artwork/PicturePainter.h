#pragma once

#include <QImage>

#include "PictureTable.h"

namespace artwork {

// Draws one picture of the table at its own size, fully opaque; at scale 2 with twice the pixels in
// each direction from the same drawing, for screens with a device pixel ratio of 2.
QImage renderPicture(const PictureRow& row, int scale = 1);

}  // namespace artwork
