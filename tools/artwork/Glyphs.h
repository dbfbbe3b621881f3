#pragma once

#include <QColor>
#include <QRectF>

#include "PictureTable.h"

class QPainter;

namespace artwork {

// Colours of a symbol: its lines and solid parts, and the colour of the surface it sits on,
// used for cut-outs such as a keyhole.
struct Ink {
    QColor line;
    QColor surface;
};

// Draws the symbol of a status icon or an alarm tile (bell, bulb, LED, padlock, the eight
// alarm symbols) scaled into box.
void drawSymbol(QPainter& p, Motif motif, const QRectF& box, const Ink& ink);

// Solid arrow head pointing up or down, centred in box.
void drawArrowHead(QPainter& p, Motif direction, const QRectF& box, const QColor& colour);

// Emblems at the left end of keys, and the warning sign of the popup.
void drawPowerEmblem(QPainter& p, const QRectF& box);
void drawReturnEmblem(QPainter& p, const QRectF& box, const QColor& colour);
void drawClearEmblem(QPainter& p, const QRectF& box, const QColor& colour);
void drawWarningSign(QPainter& p, const QRectF& box);

}  // namespace artwork
