#include "CBitImage.h"

#include "PanelArtwork.h"

#include <QHash>
#include <QString>

namespace {

// Every strip of one picture shares its pixels: the nine channel sliders show the same track and
// knob. A picture that cannot be loaded is tried again at the next use.
QImage SharedPicture(int bitmapId, int scale) {
    static QHash<QPair<int, int>, QImage> decoded;
    QImage& picture = decoded[qMakePair(bitmapId, scale)];
    if (picture.isNull()) {
        picture = PanelArtwork::picture(bitmapId, scale);
    }
    return picture;
}

}  // namespace

CBitImage::CBitImage(int bitmapId, int frameWidth, int frameHeight, int scale)
    : image_(SharedPicture(bitmapId, scale)) {
    cutIntoFrames(frameWidth, frameHeight);
}

CBitImage::CBitImage(const QImage& image, int frameWidth, int frameHeight) : image_(image) {
    cutIntoFrames(frameWidth, frameHeight);
}

QRectF CBitImage::pixels(const QRect& logical) const {
    const qreal ratio = image_.devicePixelRatio();
    return QRectF(QPointF(logical.topLeft()) * ratio, QSizeF(logical.size()) * ratio);
}

void CBitImage::cutIntoFrames(int frameWidth, int frameHeight) {
    const QSize logical = size();
    const int width = logical.width();
    const int height = logical.height();
    m_vertical = width < height;
    m_frameWidth = frameWidth > 0 ? frameWidth : width;
    m_frameHeight = frameHeight > 0 ? frameHeight : height;
    // An empty picture has no frames; it must not divide by its zero size.
    const int along = m_vertical ? height : width;
    const int step = m_vertical ? m_frameHeight : m_frameWidth;
    m_frameCount = step > 0 ? along / step : 0;
}

QRect CBitImage::frameSource(int frame) const {
    if (frame < 0 || frame >= m_frameCount) {
        return QRect();
    }
    const QPoint origin = m_vertical ? QPoint(0, frame * m_frameHeight) : QPoint(frame * m_frameWidth, 0);
    return QRect(origin, QSize(m_frameWidth, m_frameHeight));
}
