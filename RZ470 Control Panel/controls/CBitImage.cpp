#include "CBitImage.h"

#include "PanelArtwork.h"

#include <QHash>
#include <QString>

namespace {

// Every strip of one picture shares its pixels: the nine channel sliders show the same track and
// knob. A picture that cannot be loaded is tried again at the next use.
QImage SharedPicture(int bitmapId) {
    static QHash<int, QImage> decoded;
    QImage& picture = decoded[bitmapId];
    if (picture.isNull()) {
        picture = QImage(PanelArtwork::bitmapPath(bitmapId));
    }
    return picture;
}

}  // namespace

CBitImage::CBitImage(int bitmapId, int frameWidth, int frameHeight) : image_(SharedPicture(bitmapId)) {
    cutIntoFrames(frameWidth, frameHeight);
}

CBitImage::CBitImage(const QImage& image, int frameWidth, int frameHeight) : image_(image) {
    cutIntoFrames(frameWidth, frameHeight);
}

void CBitImage::cutIntoFrames(int frameWidth, int frameHeight) {
    const int width = image_.width();
    const int height = image_.height();
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
