#include "Glyphs.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>

#include "ArtworkStyle.h"

namespace artwork {

namespace {
// Symbols are designed on a 100 × 100 grid and scaled into their box.
class GridScope {
public:
    GridScope(QPainter& p, const QRectF& box) : p_(p) {
        p_.save();
        p_.translate(box.topLeft());
        p_.scale(box.width() / 100.0, box.height() / 100.0);
    }
    ~GridScope() { p_.restore(); }
    GridScope(const GridScope&) = delete;
    GridScope& operator=(const GridScope&) = delete;

private:
    QPainter& p_;
};

QPen roundPen(const QColor& colour, qreal width) {
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void fillPath(QPainter& p, const QPainterPath& path, const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawPath(path);
}

// Round badge with a cross: "this part has failed".
void drawFailBadge(QPainter& p, const QPointF& centre, qreal radius, const Ink& ink) {
    p.setPen(roundPen(ink.surface, 6));
    p.setBrush(ink.line);
    p.drawEllipse(centre, radius, radius);
    const qreal arm = radius * 0.42;
    p.setPen(roundPen(ink.surface, 6));
    p.drawLine(centre + QPointF(-arm, -arm), centre + QPointF(arm, arm));
    p.drawLine(centre + QPointF(-arm, arm), centre + QPointF(arm, -arm));
}

void bell(QPainter& p, const Ink& ink) {
    QPainterPath body;
    body.moveTo(14, 78);
    body.cubicTo(24, 68, 24, 60, 24, 46);
    body.cubicTo(24, 26, 36, 14, 50, 14);
    body.cubicTo(64, 14, 76, 26, 76, 46);
    body.cubicTo(76, 60, 76, 68, 86, 78);
    body.closeSubpath();
    fillPath(p, body, ink.line);
    p.setBrush(ink.line);
    p.drawEllipse(QPointF(50, 10), 7, 7);
    p.drawEllipse(QPointF(50, 86), 10, 10);
}

void bulb(QPainter& p, const Ink& ink) {
    QPainterPath glass;
    glass.addEllipse(QPointF(50, 38), 27, 27);
    QPainterPath neck;
    neck.moveTo(33, 56);
    neck.lineTo(67, 56);
    neck.lineTo(62, 72);
    neck.lineTo(38, 72);
    neck.closeSubpath();
    fillPath(p, glass.united(neck), ink.line);
    QPainterPath base;
    base.addRoundedRect(QRectF(37, 75, 26, 8), 3, 3);
    base.addRoundedRect(QRectF(39, 86, 22, 8), 3, 3);
    fillPath(p, base, ink.line);
    // Filament, cut out of the glass.
    p.setPen(roundPen(ink.surface, 5));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(
        QPolygonF({QPointF(40, 44), QPointF(45, 34), QPointF(50, 44), QPointF(55, 34), QPointF(60, 44)}));
}

void led(QPainter& p, const Ink& ink) {
    QPainterPath dome;
    dome.moveTo(30, 66);
    dome.lineTo(30, 32);
    dome.arcTo(QRectF(30, 12, 40, 40), 180, -180);
    dome.lineTo(70, 66);
    dome.closeSubpath();
    dome.addRect(QRectF(24, 64, 52, 10));
    fillPath(p, dome, ink.line);
    p.setPen(QPen(ink.line, 7, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(41, 74), QPointF(41, 98));
    p.drawLine(QPointF(59, 74), QPointF(59, 92));
    // Highlight on the dome.
    p.setPen(roundPen(ink.surface, 4));
    p.drawLine(QPointF(40, 30), QPointF(40, 54));
}

void padlock(QPainter& p, const Ink& ink) {
    p.setPen(QPen(ink.line, 10, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath shackle;
    shackle.moveTo(32, 50);
    shackle.lineTo(32, 32);
    shackle.arcTo(QRectF(32, 14, 36, 36), 180, -180);
    shackle.lineTo(68, 50);
    p.drawPath(shackle);
    QPainterPath body;
    body.addRoundedRect(QRectF(18, 46, 64, 50), 8, 8);
    QPainterPath keyhole;
    keyhole.addEllipse(QPointF(50, 64), 7, 7);
    keyhole.addRect(QRectF(46.5, 66, 7, 18));
    fillPath(p, body.subtracted(keyhole), ink.line);
}

void thermometer(QPainter& p, const Ink& ink, bool rising) {
    QPainterPath tube;
    tube.addRoundedRect(QRectF(34, 6, 24, 70), 12, 12);
    tube.addEllipse(QPointF(46, 78), 17, 17);
    p.setPen(roundPen(ink.line, 6));
    p.setBrush(ink.surface);
    p.drawPath(tube.simplified());
    // The column stands high for too hot, low for too cold.
    const qreal level = rising ? 18 : 56;
    QPainterPath column;
    column.addRoundedRect(QRectF(41, level, 10, 80 - level), 5, 5);
    column.addEllipse(QPointF(46, 78), 11, 11);
    fillPath(p, column, ink.line);
    p.setPen(roundPen(ink.line, 5));
    for (qreal y : {22.0, 34.0, 46.0, 58.0}) {
        p.drawLine(QPointF(22, y), QPointF(28, y));
    }
    // Arrow beside the tube.
    QPainterPath arrow;
    if (rising) {
        arrow.moveTo(80, 8);
        arrow.lineTo(95, 28);
        arrow.lineTo(65, 28);
    } else {
        arrow.moveTo(80, 64);
        arrow.lineTo(95, 44);
        arrow.lineTo(65, 44);
    }
    arrow.closeSubpath();
    fillPath(p, arrow, ink.line);
    p.setPen(QPen(ink.line, 8, Qt::SolidLine, Qt::FlatCap));
    if (rising) {
        p.drawLine(QPointF(80, 26), QPointF(80, 50));
    } else {
        p.drawLine(QPointF(80, 22), QPointF(80, 46));
    }
}

void moduleFail(QPainter& p, const Ink& ink) {
    {
        GridScope inner(p, QRectF(2, 0, 74, 92));
        led(p, ink);
    }
    drawFailBadge(p, QPointF(74, 72), 19, ink);
}

void lightGuide(QPainter& p, const Ink& ink) {
    // Flexible guide ending in a ferrule that points up to the right.
    p.setPen(roundPen(ink.line, 11));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(6, 92);
    cable.cubicTo(22, 92, 18, 62, 36, 56);
    p.drawPath(cable);
    p.save();
    p.translate(46, 46);
    p.rotate(-45);
    fillPath(p, roundedRect(QRectF(-8, -11, 20, 22), 3), ink.line);
    fillPath(p, roundedRect(QRectF(14, -8, 26, 16), 2), ink.line);
    p.fillRect(QRectF(10, -11, 3, 22), ink.surface);
    p.restore();
    // Light leaving the tip.
    p.setPen(roundPen(ink.line, 4));
    p.drawLine(QPointF(76, 14), QPointF(84, 6));
    p.drawLine(QPointF(82, 24), QPointF(94, 20));
    p.drawLine(QPointF(68, 8), QPointF(70, -2));
    drawFailBadge(p, QPointF(74, 74), 19, ink);
}

void comms(QPainter& p, const Ink& ink) {
    p.setPen(QPen(ink.line, 9, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(8, 24), QPointF(66, 24));
    p.drawLine(QPointF(26, 54), QPointF(84, 54));
    QPainterPath heads;
    heads.moveTo(86, 24);
    heads.lineTo(64, 10);
    heads.lineTo(64, 38);
    heads.closeSubpath();
    heads.moveTo(6, 54);
    heads.lineTo(28, 40);
    heads.lineTo(28, 68);
    heads.closeSubpath();
    fillPath(p, heads, ink.line);
    drawFailBadge(p, QPointF(74, 76), 19, ink);
}

void watchdog(QPainter& p, const Ink& ink) {
    const QPointF centre(48, 56);
    p.setPen(roundPen(ink.line, 8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 33, 33);
    fillPath(p, roundedRect(QRectF(40, 6, 16, 9), 2), ink.line);
    p.setPen(QPen(ink.line, 7, Qt::SolidLine, Qt::FlatCap));
    p.drawLine(QPointF(48, 14), QPointF(48, 23));
    p.save();
    p.translate(centre);
    p.rotate(45);
    p.fillRect(QRectF(-4, -44, 8, 8), ink.line);
    p.restore();
    p.setPen(roundPen(ink.line, 4));
    for (int hour = 0; hour < 12; hour += 3) {
        const qreal angle = qDegreesToRadians(hour * 30.0);
        const QPointF dir(qSin(angle), -qCos(angle));
        p.drawLine(centre + dir * 22, centre + dir * 27);
    }
    p.setPen(roundPen(ink.line, 7));
    p.drawLine(centre, centre + QPointF(13, -13));
    p.setPen(roundPen(ink.line, 5));
    p.drawLine(centre, centre + QPointF(0, -20));
    p.setBrush(ink.line);
    p.drawEllipse(centre, 5, 5);
}

void nvm(QPainter& p, const Ink& ink) {
    const QRectF chip(20, 16, 52, 62);
    p.setPen(QPen(ink.line, 6, Qt::SolidLine, Qt::FlatCap));
    for (int pin = 0; pin < 4; ++pin) {
        const qreal y = chip.top() + 10 + pin * 14;
        p.drawLine(QPointF(8, y), QPointF(chip.left(), y));
        p.drawLine(QPointF(chip.right(), y), QPointF(chip.right() + 12, y));
    }
    fillPath(p, roundedRect(chip, 5), ink.line);
    p.setBrush(ink.surface);
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(chip.left() + 9, chip.top() + 9), 4, 4);
    p.setPen(QPen(ink.surface, 4));
    for (int row = 0; row < 3; ++row) {
        const qreal y = chip.top() + 26 + row * 11;
        p.drawLine(QPointF(chip.left() + 10, y), QPointF(chip.right() - 10, y));
    }
    drawFailBadge(p, QPointF(76, 76), 19, ink);
}

void performance(QPainter& p, const Ink& ink) {
    const QPointF centre(50, 64);
    const qreal radius = 38;
    p.setPen(QPen(ink.line, 9, Qt::SolidLine, Qt::FlatCap));
    p.setBrush(Qt::NoBrush);
    const QRectF dial(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2);
    p.drawArc(dial, -20 * 16, 220 * 16);
    p.setPen(roundPen(ink.line, 4));
    for (int step = 0; step <= 6; ++step) {
        const qreal angle = qDegreesToRadians(200.0 - step * 220.0 / 6);
        const QPointF dir(qCos(angle), -qSin(angle));
        p.drawLine(centre + dir * (radius - 16), centre + dir * (radius - 10));
    }
    // The needle leans into the top of the range.
    const qreal needle = qDegreesToRadians(22.0);
    const QPointF tip = centre + QPointF(qCos(needle), -qSin(needle)) * (radius - 6);
    p.setPen(roundPen(ink.line, 7));
    p.drawLine(centre, tip);
    p.setBrush(ink.line);
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 9, 9);
    p.setBrush(ink.surface);
    p.drawEllipse(centre, 3.5, 3.5);
}
}  // namespace

void drawSymbol(QPainter& p, Motif motif, const QRectF& box, const Ink& ink) {
    GridScope grid(p, box);
    switch (motif) {
        case Motif::Bell:
            bell(p, ink);
            break;
        case Motif::Bulb:
            bulb(p, ink);
            break;
        case Motif::Led:
            led(p, ink);
            break;
        case Motif::Padlock:
            padlock(p, ink);
            break;
        case Motif::MaxTemp:
            thermometer(p, ink, true);
            break;
        case Motif::MinTemp:
            thermometer(p, ink, false);
            break;
        case Motif::ModuleFail:
            moduleFail(p, ink);
            break;
        case Motif::LightGuide:
            lightGuide(p, ink);
            break;
        case Motif::Comms:
            comms(p, ink);
            break;
        case Motif::Watchdog:
            watchdog(p, ink);
            break;
        case Motif::Nvm:
            nvm(p, ink);
            break;
        case Motif::Performance:
            performance(p, ink);
            break;
        default:
            break;
    }
}

void drawArrowHead(QPainter& p, Motif direction, const QRectF& box, const QColor& colour) {
    const qreal tipY = direction == Motif::Up ? box.top() : box.bottom();
    const qreal baseY = direction == Motif::Up ? box.bottom() : box.top();
    QPainterPath head;
    head.moveTo(box.center().x(), tipY);
    head.lineTo(box.right(), baseY);
    head.lineTo(box.left(), baseY);
    head.closeSubpath();
    p.setPen(QPen(colour, 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colour);
    p.drawPath(head);
}

void drawPowerEmblem(QPainter& p, const QRectF& box) {
    const QPointF centre = box.center();
    const qreal radius = box.width() / 2;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 160));
    p.drawEllipse(centre, radius, radius);
    QRadialGradient face(centre - QPointF(radius * 0.3, radius * 0.4), radius * 1.3);
    face.setColorAt(0, QColor(255, 120, 96));
    face.setColorAt(0.6, colours::red);
    face.setColorAt(1, QColor(120, 18, 10));
    p.setBrush(face);
    p.drawEllipse(centre, radius - 2, radius - 2);
    const qreal ring = radius * 0.48;
    p.setPen(QPen(Qt::white, radius * 0.16, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - ring, centre.y() - ring, ring * 2, ring * 2), 125 * 16, -250 * 16);
    p.drawLine(centre - QPointF(0, ring * 1.25), centre - QPointF(0, ring * 0.25));
}

void drawReturnEmblem(QPainter& p, const QRectF& box, const QColor& colour) {
    GridScope grid(p, box);
    p.setPen(QPen(colour, 11, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath hook;
    hook.moveTo(34, 30);
    hook.lineTo(62, 30);
    hook.arcTo(QRectF(42, 30, 40, 40), 90, -180);
    hook.lineTo(20, 70);
    p.drawPath(hook);
    QPainterPath head;
    head.moveTo(8, 30);
    head.lineTo(38, 10);
    head.lineTo(38, 50);
    head.closeSubpath();
    fillPath(p, head, colour);
}

void drawClearEmblem(QPainter& p, const QRectF& box, const QColor& colour) {
    GridScope grid(p, box);
    p.setPen(roundPen(colour, 9));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QPointF(50, 50), 40, 40);
    p.setPen(roundPen(colour, 11));
    p.drawLine(QPointF(34, 34), QPointF(66, 66));
    p.drawLine(QPointF(34, 66), QPointF(66, 34));
}

void drawWarningSign(QPainter& p, const QRectF& box) {
    GridScope grid(p, box);
    QPainterPath triangle;
    triangle.moveTo(50, 6);
    triangle.lineTo(96, 90);
    triangle.lineTo(4, 90);
    triangle.closeSubpath();
    p.setPen(QPen(colours::amber, 8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(colours::amber);
    p.drawPath(triangle);
    p.setPen(roundPen(QColor(30, 24, 10), 10));
    p.drawLine(QPointF(50, 34), QPointF(50, 62));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 24, 10));
    p.drawEllipse(QPointF(50, 77), 6, 6);
}

}  // namespace artwork
