#include "ArtworkStyle.h"

#include <QFontDatabase>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace artwork {

namespace {
QString& letteringFamily() {
    static QString family;
    return family;
}

// Strokes a one-pixel line along the inside of rect so that it stays sharp.
void strokeInside(QPainter& p, const QRectF& rect, qreal radius, const QColor& colour) {
    p.setPen(QPen(colour, 1));
    p.setBrush(Qt::NoBrush);
    p.drawPath(roundedRect(rect.adjusted(0.5, 0.5, -0.5, -0.5), radius));
}
}  // namespace

bool loadLetteringFont(const QString& fontFile) {
    const int id = QFontDatabase::addApplicationFont(fontFile);
    if (id < 0) {
        return false;
    }
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    if (families.isEmpty()) {
        return false;
    }
    letteringFamily() = families.first();
    return true;
}

QFont letteringFont(int pixelSize) {
    QFont font(letteringFamily());
    font.setBold(true);
    font.setPixelSize(pixelSize);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

QPainterPath roundedRect(const QRectF& rect, qreal radius) {
    QPainterPath path;
    if (radius > 0) {
        path.addRoundedRect(rect, radius, radius);
    } else {
        path.addRect(rect);
    }
    return path;
}

void fillVertical(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom, qreal radius) {
    QLinearGradient gradient(rect.topLeft(), rect.bottomLeft());
    gradient.setColorAt(0, top);
    gradient.setColorAt(1, bottom);
    p.setPen(Qt::NoPen);
    p.setBrush(gradient);
    p.drawPath(roundedRect(rect, radius));
}

void drawPlate(QPainter& p, const QRectF& rect, int edges) {
    p.fillRect(rect, colours::plate);
    if (edges & LeftEdge) {
        p.fillRect(QRectF(rect.left(), rect.top(), 1, rect.height()), colours::plateEdgeDark);
        p.fillRect(QRectF(rect.left() + 1, rect.top(), 1, rect.height()), colours::plateEdgeLight);
    }
    if (edges & RightEdge) {
        p.fillRect(QRectF(rect.right() - 1, rect.top(), 1, rect.height()), colours::plateEdgeDark);
    }
}

void drawKey(QPainter& p, const QRectF& rect, bool pressed) {
    // The border colour fills the corners, so a key sits equally well on light and dark ground.
    p.fillRect(rect, colours::keyBorder);
    const QRectF face = rect.adjusted(1, 1, -1, -1);
    const qreal radius = 4;
    if (pressed) {
        fillVertical(p, face, colours::keyPressedTop, colours::keyPressedBottom, radius);
        // Inner shadow along the top and left: the key is pushed in.
        QLinearGradient shade(face.topLeft(), face.topLeft() + QPointF(0, 7));
        shade.setColorAt(0, QColor(0, 0, 0, 150));
        shade.setColorAt(1, QColor(0, 0, 0, 0));
        p.setBrush(shade);
        p.drawPath(roundedRect(face, radius));
        strokeInside(p, face, radius, QColor(0, 0, 0, 120));
        p.fillRect(QRectF(face.left() + 3, face.bottom() - 1, face.width() - 6, 1),
                   QColor(255, 255, 255, 28));
    } else {
        fillVertical(p, face, colours::keyTop, colours::keyBottom, radius);
        // A gloss on the upper half and a light top edge: the key stands proud of the panel.
        QLinearGradient gloss(face.topLeft(), QPointF(face.left(), face.center().y()));
        gloss.setColorAt(0, QColor(255, 255, 255, 34));
        gloss.setColorAt(1, QColor(255, 255, 255, 6));
        p.setBrush(gloss);
        p.drawPath(roundedRect(face.adjusted(1, 1, -1, -face.height() / 2), radius - 1));
        p.fillRect(QRectF(face.left() + 3, face.top() + 1, face.width() - 6, 1), QColor(255, 255, 255, 70));
        p.fillRect(QRectF(face.left() + 3, face.bottom() - 2, face.width() - 6, 1), QColor(0, 0, 0, 90));
    }
}

void drawLamp(QPainter& p, const QRectF& rect, const QColor& litColour, bool lit) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 150));
    p.drawRoundedRect(rect.adjusted(-1, -1, 1, 1), 2, 2);
    if (lit) {
        drawGlow(p, rect.center(), rect.width() * 0.7,
                 QColor(litColour.red(), litColour.green(), litColour.blue(), 70));
        fillVertical(p, rect, litColour.lighter(130), litColour, 1.5);
    } else {
        fillVertical(p, rect, QColor(52, 60, 66), QColor(34, 40, 45), 1.5);
    }
}

void drawDisplayWindow(QPainter& p, const QRectF& rect) {
    const qreal radius = 4;
    // Bevel: shadow above, light below, as if the glass sits below the plate surface.
    fillVertical(p, rect, colours::plateEdgeDark, colours::plateEdgeLight.lighter(115), radius + 1);
    const QRectF glass = rect.adjusted(1.5, 1.5, -1.5, -1.5);
    fillVertical(p, glass, colours::display, colours::displayLow, radius);
    strokeInside(p, glass, radius, QColor(0, 0, 0, 200));
    // A faint reflection across the top of the glass.
    p.fillRect(QRectF(glass.left() + 4, glass.top() + 2, glass.width() - 8, 1), QColor(130, 255, 150, 22));
}

void drawWell(QPainter& p, const QRectF& rect) {
    fillVertical(p, rect, QColor(8, 10, 12), QColor(20, 24, 28), 5);
    strokeInside(p, rect, 5, QColor(0, 0, 0, 200));
    p.fillRect(QRectF(rect.left() + 4, rect.bottom() - 1, rect.width() - 8, 1), colours::plateEdgeLight);
}

void drawLightPanel(QPainter& p, const QRectF& rect) {
    p.fillRect(rect, colours::backdrop);
    const qreal radius = 8;
    fillVertical(p, rect, QColor(168, 177, 184), QColor(108, 117, 124), radius);
    const QRectF face = rect.adjusted(2, 2, -2, -2);
    fillVertical(p, face, QColor(236, 239, 241), colours::lightPanel, radius - 2);
    p.fillRect(QRectF(face.left() + 6, face.top(), face.width() - 12, 1), QColor(255, 255, 255));
}

void drawLightField(QPainter& p, const QRectF& rect) {
    const qreal radius = 3;
    fillVertical(p, rect, QColor(150, 158, 165), QColor(250, 251, 252), radius);
    const QRectF inner = rect.adjusted(1, 1, -1, -1);
    fillVertical(p, inner, QColor(236, 239, 241), colours::field, radius - 1);
    // Inner shadow under the top edge.
    p.fillRect(QRectF(inner.left() + 2, inner.top(), inner.width() - 4, 1), QColor(0, 0, 0, 40));
    p.fillRect(QRectF(inner.left() + 2, inner.top() + 1, inner.width() - 4, 1), QColor(0, 0, 0, 16));
}

void drawEngravedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font) {
    p.setFont(font);
    p.setPen(QColor(255, 255, 255, 200));
    p.drawText(box.translated(0, 1), flags, text);
    p.setPen(colours::engraved);
    p.drawText(box, flags, text);
}

void drawGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour) {
    QRadialGradient glow(centre, radius);
    glow.setColorAt(0, colour);
    QColor clear = colour;
    clear.setAlpha(0);
    glow.setColorAt(1, clear);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius, radius);
}

}  // namespace artwork
