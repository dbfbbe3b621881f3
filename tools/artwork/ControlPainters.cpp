#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "ArtworkStyle.h"
#include "Glyphs.h"
#include "KindPainters.h"
#include "SliderScale.h"

namespace artwork {

namespace {
const QColor kCaptionGrey(189, 198, 198);

// Groove of the slider tracks, a little left of centre so the scale fits on its right.
qreal grooveCentre(qreal width) {
    return qRound(width * 0.31);
}

// Two-part switch: ON on the left, OFF on the right; only the ON half ever lights.
void drawOnOffSwitch(QPainter& p, const QRectF& body, bool onLit, int fontPixels) {
    p.setPen(Qt::NoPen);
    p.setBrush(colours::keyBorder);
    p.drawRoundedRect(body, 6, 6);
    const QRectF inner = body.adjusted(2, 2, -2, -2);
    const qreal split = inner.left() + inner.width() / 2;
    const QRectF onHalf(inner.left(), inner.top(), split - inner.left() - 1, inner.height());
    const QRectF offHalf(split + 1, inner.top(), inner.right() - split - 1, inner.height());

    auto drawHalf = [&](const QRectF& half, const QString& label, bool lit) {
        if (lit) {
            fillVertical(p, half, QColor(120, 240, 130), colours::greenDeep, 4);
            p.save();
            p.setClipPath(roundedRect(half, 4));
            drawGlow(p, half.center(), half.width() * 0.45, QColor(220, 255, 220, 90));
            p.restore();
            p.setPen(QColor(6, 40, 12));
        } else {
            fillVertical(p, half, QColor(52, 59, 66), QColor(32, 37, 42), 4);
            p.fillRect(QRectF(half.left() + 4, half.top() + 1, half.width() - 8, 1),
                       QColor(255, 255, 255, 40));
            p.setPen(QColor(118, 128, 136));
        }
        p.setFont(letteringFont(fontPixels));
        p.drawText(half, Qt::AlignCenter, label);
    };
    drawHalf(onHalf, QStringLiteral("ON"), onLit);
    drawHalf(offHalf, QStringLiteral("OFF"), false);
}

void drawTrackGroove(QPainter& p, const QRectF& area) {
    const qreal centre = grooveCentre(area.width());
    const QRectF groove(centre - 3, area.top() + 6, 6, area.height() - 12);
    fillVertical(p, groove.adjusted(-1, -1, 1, 1), colours::plateEdgeDark, colours::plateEdgeLight, 3);
    fillVertical(p, groove, QColor(4, 6, 7), QColor(14, 18, 21), 3);
    p.fillRect(QRectF(centre - 0.5, groove.top() + 4, 1, groove.height() - 8), QColor(60, 70, 78));

    // From the top (full scale) to the bottom (zero), major at 0, 50 and 100 %. Whole rows, so the
    // knob's index line covers a mark exactly.
    const int height = qRound(area.height());
    const int middle = (SliderScale::kMarkCount - 1) / 2;
    for (int mark = 0; mark < SliderScale::kMarkCount; ++mark) {
        const bool major = mark % middle == 0;
        const qreal y = area.top() + SliderScale::MarkRow(height, mark);
        p.fillRect(QRectF(centre + 9, y, major ? 13 : 7, major ? 2 : 1),
                   major ? QColor(150, 160, 168) : QColor(96, 106, 114));
    }
    const qreal middleLine = area.top() + SliderScale::MarkRow(height, middle) + 1;
    p.setPen(QColor(150, 160, 168));
    p.setFont(letteringFont(11));
    p.drawText(QRectF(centre + 23, middleLine - 8, area.width() - centre - 23, 16),
               Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("50"));
}
}  // namespace

void paintMenuButton(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawKey(p, r, row.active);
    drawLamp(p, QRectF(r.center().x() - 18, r.bottom() - 9, 36, 3), colours::green, row.active);
}

void paintExitButton(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawKey(p, r, false);
    drawPowerEmblem(p, QRectF(12, 10, 44, 44));
    // Groove between the emblem and the caption.
    p.fillRect(QRectF(70, 12, 1, r.height() - 24), QColor(0, 0, 0, 140));
    p.fillRect(QRectF(71, 12, 1, r.height() - 24), QColor(255, 255, 255, 30));
}

void paintWideButton(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawKey(p, r, row.active);
    drawReturnEmblem(p, QRectF(26, 11, 34, 29), row.active ? colours::green : kCaptionGrey);
    p.fillRect(QRectF(70, 10, 1, r.height() - 20), QColor(0, 0, 0, 140));
    p.fillRect(QRectF(71, 10, 1, r.height() - 20), QColor(255, 255, 255, 30));
}

void paintClearButton(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawKey(p, r, false);
    drawClearEmblem(p, QRectF(14, 12, 26, 26), colours::amber);
    p.fillRect(QRectF(50, 10, 1, r.height() - 20), QColor(0, 0, 0, 140));
    p.fillRect(QRectF(51, 10, 1, r.height() - 20), QColor(255, 255, 255, 30));
}

void paintStatusIcon(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::statusStrip);
    QColor litColour;
    switch (row.motif) {
        case Motif::Bell:
            litColour = colours::red;
            break;
        case Motif::Bulb:
            litColour = QColor(236, 160, 0);
            break;
        case Motif::Led:
            litColour = QColor(20, 170, 50);
            break;
        default:
            litColour = QColor(232, 112, 0);
            break;
    }
    const QRectF box(r.center().x() - 8, 1, 16, 16);
    if (row.active) {
        drawGlow(p, box.center(), 11, QColor(litColour.red(), litColour.green(), litColour.blue(), 110));
    }
    drawSymbol(p, row.motif, box, Ink{row.active ? litColour : QColor(146, 154, 161), colours::statusStrip});
}

void paintNameField(QPainter& p, const PictureRow& row) {
    drawPlate(p, bounds(row), LeftEdge | RightEdge);
    drawDisplayWindow(p, QRectF(8, 10, row.width - 16, 42));
}

void paintValueBox(QPainter& p, const PictureRow& row) {
    drawPlate(p, bounds(row), LeftEdge);
    drawDisplayWindow(p, QRectF(6, 10, row.width - 12, 42));
}

void paintChannelArrow(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawPlate(p, r, LeftEdge);
    const QRectF key(8, 5, r.width() - 16, r.height() - 10);
    drawKey(p, key, row.active);
    const QRectF head(key.center().x() - 18, key.center().y() - 10, 36, 20);
    if (row.active) {
        drawGlow(p, head.center(), 30, QColor(132, 255, 132, 60));
    }
    drawArrowHead(p, row.motif, head, row.active ? colours::green : colours::greyGlyph);
}

void paintStepArrow(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawKey(p, r, row.active);
    const QRectF head(r.center().x() - 15, r.center().y() - 9, 30, 18);
    if (row.active) {
        drawGlow(p, head.center(), 24, QColor(132, 255, 132, 60));
    }
    drawArrowHead(p, row.motif, head, row.active ? colours::green : colours::greyGlyph);
}

void paintScaleLabel(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawPlate(p, r, RightEdge);
    const qreal centre = grooveCentre(r.width());
    p.setPen(QColor(170, 180, 187));
    p.setFont(letteringFont(13));
    const QString text = row.motif == Motif::ScaleTop ? QStringLiteral("100") : QStringLiteral("0");
    p.drawText(QRectF(centre + 9, 0, r.width() - centre - 12, r.height()), Qt::AlignLeft | Qt::AlignVCenter,
               text);
}

void paintChannelSwitch(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawPlate(p, r, LeftEdge | RightEdge);
    drawOnOffSwitch(p, r.adjusted(8, 7, -8, -7), row.active, 18);
}

void paintModeSwitch(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::backdrop);
    drawOnOffSwitch(p, r.adjusted(3, 5, -3, -5), row.active, 20);
}

void paintTriggeredSwitch(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawPlate(p, r, LeftEdge | RightEdge);
    const QRectF body = r.adjusted(8, 7, -8, -7);
    p.setPen(Qt::NoPen);
    p.setBrush(colours::keyBorder);
    p.drawRoundedRect(body, 6, 6);
    const QRectF face = body.adjusted(2, 2, -2, -2);
    p.setFont(letteringFont(18));
    if (row.active) {
        fillVertical(p, face, QColor(14, 17, 20), QColor(24, 28, 32), 4);
        p.save();
        p.setClipPath(roundedRect(face, 4));
        drawGlow(p, face.center(), face.width() * 0.45, QColor(255, 178, 30, 60));
        p.restore();
        p.setPen(colours::amber);
    } else {
        fillVertical(p, face, QColor(222, 227, 231), QColor(184, 192, 198), 4);
        p.fillRect(QRectF(face.left() + 4, face.top() + 1, face.width() - 8, 1), QColor(255, 255, 255, 160));
        p.setPen(QColor(84, 93, 100));
    }
    p.drawText(face, Qt::AlignCenter, QStringLiteral("TRIGGERED"));
}

void paintSliderTrack(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawPlate(p, r, RightEdge);
    drawTrackGroove(p, r);
}

void paintSliderKnob(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::plate);
    const QRectF body = r.adjusted(1, 1, -1, -1);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 200));
    p.drawRoundedRect(body, 4, 4);
    const QRectF cap = body.adjusted(1, 1, -1, -1);
    QLinearGradient metal(cap.topLeft(), cap.bottomLeft());
    metal.setColorAt(0, QColor(236, 240, 243));
    metal.setColorAt(0.45, QColor(178, 187, 194));
    metal.setColorAt(0.55, QColor(150, 160, 168));
    metal.setColorAt(1, QColor(196, 204, 210));
    p.setBrush(metal);
    p.drawRoundedRect(cap, 3, 3);
    // Grip ridges either side of the green index line.
    const qreal mid = r.top() + SliderScale::kKnobIndexRow + 1;
    for (qreal offset : {-7.0, -4.0, 4.0, 7.0}) {
        p.fillRect(QRectF(cap.left() + 5, mid + offset - 1, cap.width() - 10, 1), QColor(90, 100, 108));
        p.fillRect(QRectF(cap.left() + 5, mid + offset, cap.width() - 10, 1), QColor(255, 255, 255, 150));
    }
    p.fillRect(QRectF(cap.left() + 2, mid - 1, cap.width() - 4, 2), QColor(24, 190, 60));
}

void drawNumberField(QPainter& p, const QRectF& rect) {
    // Painted apart and copied in, so the field is the same pixels wherever it is placed; at the
    // picture's own pixel ratio, so that it stays sharp in the 2x pictures.
    const qreal ratio = p.device()->devicePixelRatioF();
    QImage field((rect.size() * ratio).toSize(), QImage::Format_RGB32);
    field.setDevicePixelRatio(ratio);
    field.fill(colours::plate);
    QPainter fieldPainter(&field);
    fieldPainter.setRenderHints(p.renderHints());
    drawDisplayWindow(fieldPainter, QRectF(QPointF(0, 0), rect.size()).adjusted(2, 2, -2, -2));
    fieldPainter.end();
    p.drawImage(rect.topLeft(), field);
}

void paintNumberField(QPainter& p, const PictureRow& row) {
    drawNumberField(p, bounds(row));
}

}  // namespace artwork
