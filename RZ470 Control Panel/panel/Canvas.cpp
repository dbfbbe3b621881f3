#include "Canvas.h"

#include "PanelArtwork.h"

#include <QFontMetrics>
#include <QPainter>

SurfaceCanvas::SurfaceCanvas(QSize size) : surface_(size, QImage::Format_RGB32) {
    surface_.fill(Qt::black);
}

bool SurfaceCanvas::drawBitmap(int id, int x, int y, int w, int h) {
    // Pictures are loaded at each use and released at once.
    const QImage picture(PanelArtwork::bitmapPath(id));
    if (picture.isNull()) {
        return false;
    }
    const QRect target(x, y, w, h);
    QPainter painter(&surface_);
    painter.drawImage(target.topLeft(), picture, QRect(0, 0, w, h));
    painter.end();
    damage(target);
    return true;
}

void SurfaceCanvas::drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) {
    const QFontMetrics metrics(font);
    QPainter painter(&surface_);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(x, y + metrics.ascent(), text);
    painter.end();
    damage(QRect(x, y, metrics.horizontalAdvance(text) + 1, metrics.height()));
}

void SurfaceCanvas::damage(const QRect& rect) {
    if (damaged_) {
        damaged_(rect);
    }
}
