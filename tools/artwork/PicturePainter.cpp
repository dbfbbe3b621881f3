#include "PicturePainter.h"

#include <QPainter>

namespace artwork {

QImage renderPicture(const PictureRow& row, int scale) {
    // Bitmaps are plain copies onto the panel and so carry no transparency; only the icon does.
    const bool icon = row.isIcon();
    QImage image(row.width * scale, row.height * scale,
                 icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(icon ? Qt::transparent : Qt::black);
    {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        row.paint(painter, row);
    }
    return image;
}

}  // namespace artwork
