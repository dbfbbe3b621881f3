#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QtMath>

#include "ArtworkStyle.h"
#include "Glyphs.h"
#include "KindPainters.h"

namespace artwork {

namespace {
const QColor kLabel(189, 198, 198);
const QColor kTileRecess(184, 192, 198);

// Colours of the unit's nine LEDs, ultraviolet to infrared; the family's colour signature.
const QColor kSpectrum[9] = {{122, 60, 255}, {70, 76, 255}, {30, 144, 255}, {0, 200, 200}, {46, 204, 64},
                             {242, 214, 0},  {255, 160, 0}, {255, 59, 31},  {179, 0, 27}};

// Where the status strip groups its four indicators, and where the menu strip begins.
constexpr int kStatusStripHeight = 25;
constexpr int kIndicatorPitch = 413;
constexpr int kMenuStripTop = 345;

// Alarm tile places inside the alarm frame: four columns, two rows.
constexpr qreal kTileColumns[4] = {67, 251, 431, 618};
constexpr qreal kTileRows[2] = {21, 171};
constexpr qreal kTileWidth = 101;
constexpr qreal kTileHeight = 107;

// A value field of a strip panel with its caption above it. The opened panel's fields sit where
// the panel writes its values, and its arrow keys beside them.
struct PanelRow {
    const char* caption;
    const char* closedCaption;
    qreal openedFieldTop;
    qreal closedFieldTop;
};

void drawEngravedLine(QPainter& p, const QPointF& from, const QPointF& to) {
    p.setPen(QPen(QColor(176, 184, 190), 1));
    p.drawLine(from, to);
    const QPointF shift = from.x() == to.x() ? QPointF(1, 0) : QPointF(0, 1);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1));
    p.drawLine(from + shift, to + shift);
}

// Panel of the grouping and trigger strips. Closed panels show small captions and narrow
// fields; the opened one has room for the CLEAR key and the arrow keys beside each field.
void drawStripPanel(QPainter& p, const QRectF& r, bool opened, const PanelRow* rows, int rowCount) {
    drawPlate(p, r, LeftEdge | RightEdge);
    // Cap along the top edge; green on the panel being edited.
    fillVertical(p, QRectF(r.left() + 1, 0, r.width() - 2, 3),
                 opened ? QColor(110, 240, 120) : QColor(70, 80, 88),
                 opened ? colours::greenDeep : QColor(50, 58, 64));
    p.fillRect(QRectF(r.left() + 1, r.bottom() - 1, r.width() - 2, 1), colours::plateEdgeDark);
    drawDisplayWindow(p, QRectF(3, 9, opened ? 92 : r.width() - 6, 42));

    for (int row = 0; row < rowCount; ++row) {
        if (opened) {
            const qreal top = rows[row].openedFieldTop;
            p.setPen(kLabel);
            p.setFont(letteringFont(14));
            p.drawText(QRectF(22, top - 21, 200, 18), Qt::AlignLeft | Qt::AlignVCenter,
                       QString::fromLatin1(rows[row].caption));
            drawNumberField(p, QRectF(20, top, 132, 46));
            drawWell(p, QRectF(159, top - 3, 89, 51));
            drawWell(p, QRectF(253, top - 3, 89, 51));
        } else {
            const qreal top = rows[row].closedFieldTop;
            p.setPen(colours::greyGlyph);
            p.setFont(letteringFont(11));
            p.drawText(QRectF(0, top - 21, r.width(), 18), Qt::AlignCenter,
                       QString::fromLatin1(rows[row].closedCaption));
            drawNumberField(p, QRectF(8, top, 72, 45));
        }
    }
    if (opened) {
        drawWell(p, QRectF(100, 15, 248, 52));
    }
}
}  // namespace

void paintBackground(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::backdrop);

    p.fillRect(QRectF(0, 0, r.width(), kStatusStripHeight - 2), colours::statusStrip);
    p.fillRect(QRectF(0, kStatusStripHeight - 2, r.width(), 1), QColor(196, 202, 207));
    p.fillRect(QRectF(0, kStatusStripHeight - 1, r.width(), 1), colours::stripShadow);
    for (int group = 1; group < 4; ++group) {
        const qreal x = 10 + group * kIndicatorPitch;
        drawEngravedLine(p, QPointF(x, 3), QPointF(x, 19));
    }

    p.fillRect(QRectF(0, kMenuStripTop, r.width(), 1), QColor(8, 10, 12));
    p.fillRect(QRectF(0, kMenuStripTop + 1, r.width(), 1), QColor(246, 248, 249));
    fillVertical(p, QRectF(0, kMenuStripTop + 2, r.width(), r.height() - kMenuStripTop - 2),
                 colours::menuStripTop, colours::menuStripBottom);

    // Maker's plate in the one stretch of the menu strip that no screen covers.
    QFont brand = letteringFont(20);
    brand.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    QFont product = letteringFont(14);
    product.setLetterSpacing(QFont::AbsoluteSpacing, 4);
    drawEngravedText(p, QRectF(372, 362, 90, 24), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Kynex"),
                     brand);
    drawEngravedText(p, QRectF(470, 362, 110, 24), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVANE"),
                     product);
    for (int led = 0; led < 9; ++led) {
        p.fillRect(QRectF(400 + led * 18, 392, 16, 3), kSpectrum[led]);
    }
}

void paintGroupingPanel(QPainter& p, const PictureRow& row) {
    static const PanelRow rows[] = {{"Group Number", "GROUP", 88, 83}};
    drawStripPanel(p, bounds(row), row.active, rows, 1);
}

void paintTriggerPanel(QPainter& p, const PictureRow& row) {
    static const PanelRow rows[] = {{"TTL Timeout", "TIMEOUT", 88, 83},
                                    {"Trigger Sequence", "SEQUENCE", 162, 156}};
    drawStripPanel(p, bounds(row), row.active, rows, 2);
}

void paintAlarmFrame(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawLightPanel(p, r);
    drawEngravedLine(p, QPointF(16, 159), QPointF(r.width() - 16, 159));
    for (qreal x : {209.0, 391.0, 575.0}) {
        drawEngravedLine(p, QPointF(x, 14), QPointF(x, r.height() - 14));
    }
    for (qreal top : kTileRows) {
        for (qreal left : kTileColumns) {
            // A seat a little larger than the tile, so each tile looks set into the frame.
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(158, 167, 174));
            p.drawRoundedRect(QRectF(left - 2, top - 2, kTileWidth + 4, kTileHeight + 4), 9, 9);
            p.fillRect(QRectF(left, top, kTileWidth, kTileHeight), kTileRecess);
        }
    }
}

void paintAlarmTile(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, kTileRecess);
    const bool lit = row.active;
    p.setPen(Qt::NoPen);
    p.setBrush(lit ? QColor(110, 14, 6) : QColor(138, 148, 155));
    p.drawRoundedRect(r, 7, 7);
    const QRectF face = r.adjusted(1, 1, -1, -1);
    if (lit) {
        fillVertical(p, face, QColor(255, 112, 88), QColor(196, 30, 14), 6);
        drawGlow(p, QPointF(face.center().x(), 44), 44, QColor(255, 220, 200, 70));
    } else {
        fillVertical(p, face, QColor(248, 249, 250), QColor(212, 218, 222), 6);
    }
    p.fillRect(QRectF(face.left() + 6, face.top(), face.width() - 12, 1),
               QColor(255, 255, 255, lit ? 120 : 255));
    const QColor surface = lit ? QColor(224, 62, 40) : QColor(232, 236, 238);
    drawSymbol(p, row.motif, QRectF(22, 12, 58, 58), Ink{lit ? Qt::white : QColor(120, 131, 139), surface});
    drawLamp(p, QRectF(r.center().x() - 16, 86, 32, 5), QColor(255, 236, 150), lit);
}

void paintMaintenanceFrame(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    drawLightPanel(p, r);
    drawEngravedLine(p, QPointF(14, 204), QPointF(r.width() - 14, 204));
    drawEngravedLine(p, QPointF(205, 212), QPointF(205, r.height() - 14));
}

void paintErrorListFrame(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::lightPanel);
    drawLightField(p, r);
    // Banded rows under the error lines, which the panel writes 20 px apart.
    for (int row = 1; row < 7; row += 2) {
        p.fillRect(QRectF(3, 13 + row * 20, r.width() - 6, 20), QColor(236, 240, 243));
    }
}

void paintValueFrame(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, colours::lightPanel);
    drawLightField(p, r);
}

void paintWarningPopup(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, QColor(60, 6, 2));
    fillVertical(p, r.adjusted(1, 1, -1, -1), QColor(255, 84, 60), QColor(150, 20, 8));
    const QRectF inner = r.adjusted(6, 6, -6, -6);
    p.fillRect(inner.adjusted(-1, -1, 1, 1), QColor(40, 4, 2));
    fillVertical(p, inner, QColor(36, 42, 47), QColor(18, 21, 24));
    // Title band.
    const QRectF band(inner.left(), inner.top(), inner.width(), 22);
    fillVertical(p, band, QColor(120, 20, 10), QColor(84, 12, 6));
    p.setPen(QColor(255, 214, 204));
    QFont title = letteringFont(13);
    title.setLetterSpacing(QFont::AbsoluteSpacing, 3);
    p.setFont(title);
    p.drawText(band.adjusted(12, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("WARNING"));
    drawWarningSign(p, QRectF(13, 36, 40, 36));

    // The OK key covers exactly the area that closes the popup.
    const QRectF ok(137, 145, 131, 43);
    drawKey(p, ok, false);
    p.setPen(Qt::white);
    p.setFont(letteringFont(22));
    p.drawText(ok.adjusted(0, -1, 0, -1), Qt::AlignCenter, QStringLiteral("OK"));
}

void paintTitlePicture(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    p.fillRect(r, Qt::white);
    const QColor navy(22, 40, 66);

    // Mark: nine beams fanning out of one light guide.
    const QPointF origin(136, 206);
    for (int led = 0; led < 9; ++led) {
        const qreal angle = qDegreesToRadians(-40.0 + led * 10.0);
        QPainterPath beam;
        beam.moveTo(origin);
        const qreal reach = 120;
        const qreal spread = qDegreesToRadians(3.6);
        beam.lineTo(origin + QPointF(qCos(angle - spread), qSin(angle - spread)) * reach);
        beam.lineTo(origin + QPointF(qCos(angle + spread), qSin(angle + spread)) * reach);
        beam.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kSpectrum[led]);
        p.drawPath(beam);
    }
    p.setBrush(navy);
    p.drawEllipse(origin, 26, 26);
    p.setBrush(Qt::white);
    p.drawEllipse(origin, 9, 9);

    QFont wordmark = letteringFont(150);
    wordmark.setLetterSpacing(QFont::AbsoluteSpacing, -4);
    p.setFont(wordmark);
    p.setPen(navy);
    p.drawText(QRectF(276, 96, 460, 170), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Kynex"));

    QFont product = letteringFont(46);
    product.setLetterSpacing(QFont::AbsoluteSpacing, 17);
    p.setFont(product);
    p.setPen(QColor(74, 92, 110));
    p.drawText(QRectF(282, 262, 460, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("ORVANE"));

    for (int led = 0; led < 9; ++led) {
        p.fillRect(QRectF(282 + led * 48, 332, 44, 6), kSpectrum[led]);
    }
    QFont tagline = letteringFont(18);
    tagline.setLetterSpacing(QFont::AbsoluteSpacing, 2);
    p.setFont(tagline);
    p.setPen(QColor(120, 132, 142));
    p.drawText(QRectF(282, 350, 460, 30), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("NINE-CHANNEL LED ILLUMINATION"));
}

void paintAppIcon(QPainter& p, const PictureRow& row) {
    const QRectF r = bounds(row);
    const qreal size = r.width();
    fillVertical(p, r.adjusted(0.5, 0.5, -0.5, -0.5), QColor(52, 62, 72), QColor(18, 22, 26), size * 0.2);
    const QPointF centre = r.center();
    const qreal outer = size * 0.39;
    const qreal inner = size * 0.21;
    const qreal gap = size >= 32 ? 4.0 : 0.0;
    for (int led = 0; led < 9; ++led) {
        const qreal start = 90.0 - led * 40.0;
        QPainterPath segment;
        segment.arcMoveTo(QRectF(centre.x() - outer, centre.y() - outer, outer * 2, outer * 2),
                          start - gap / 2);
        segment.arcTo(QRectF(centre.x() - outer, centre.y() - outer, outer * 2, outer * 2), start - gap / 2,
                      -(40.0 - gap));
        segment.arcTo(QRectF(centre.x() - inner, centre.y() - inner, inner * 2, inner * 2),
                      start - 40.0 + gap / 2, 40.0 - gap);
        segment.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(kSpectrum[led]);
        p.drawPath(segment);
    }
    drawGlow(p, centre, inner, QColor(255, 255, 255, 120));
    p.setBrush(Qt::white);
    p.drawEllipse(centre, size * 0.09, size * 0.09);
}

}  // namespace artwork
