#pragma once

#include <QImage>
#include <QRect>
#include <QRectF>

// A picture cut into frames of equal size, side by side or stacked. The frames are read-only
// sources for CBitWnd and the slider's track.
class CBitImage {
public:
    // An empty strip with no frames.
    CBitImage() = default;
    // A frame size of 0 (or less) means the whole picture in that direction. A picture that
    // cannot be loaded leaves an empty strip with no frames. At scale 2 the picture drawn for
    // that scale is taken, with twice the pixels; sizes and frames stay in logical pixels.
    explicit CBitImage(int bitmapId, int frameWidth = 0, int frameHeight = 0, int scale = 1);
    explicit CBitImage(const QImage& image, int frameWidth = 0, int frameHeight = 0);

    const QImage& image() const { return image_; }
    QSize size() const { return image_.deviceIndependentSize().toSize(); }
    // A rectangle of the strip in the image's own pixels, as QPainter::drawImage takes its source.
    QRectF pixels(const QRect& logical) const;
    int frameCount() const { return m_frameCount; }
    int frameWidth() const { return m_frameWidth; }
    int frameHeight() const { return m_frameHeight; }
    bool isVertical() const { return m_vertical; }

    // Where frame `frame` lies in the picture; a null rectangle for a frame the strip lacks.
    QRect frameSource(int frame) const;

private:
    void cutIntoFrames(int frameWidth, int frameHeight);

    QImage image_;
    int m_frameCount = 0;
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    bool m_vertical = false;
};
