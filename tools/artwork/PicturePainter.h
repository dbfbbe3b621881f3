#pragma once

#include <QImage>

#include "PictureTable.h"

namespace artwork {

// Draws one picture of the table at its own size, fully opaque.
QImage renderPicture(const PictureRow& row);

}  // namespace artwork
