#pragma once

#include <QColor>
#include <QFont>
#include <QRectF>
#include <QString>

class QPainter;
class QPainterPath;

namespace artwork {

// Surfaces are chosen against the colours the program writes onto them: light grey captions on
// keys, green values in display windows, mid grey labels on the status strip, dark grey texts
// on the light alarm and maintenance frames.
namespace colours {
// The channel panels' plate and the panel area are one colour, so a pixel row that no piece of a
// panel covers does not show.
inline const QColor plate{38, 44, 50};
inline const QColor backdrop = plate;
inline const QColor plateEdgeLight{58, 66, 74};
inline const QColor plateEdgeDark{14, 17, 20};
inline const QColor statusStrip{225, 229, 232};
inline const QColor menuStripTop{218, 223, 227};
inline const QColor menuStripBottom{192, 199, 205};
inline const QColor stripShadow{140, 149, 156};
inline const QColor keyBorder{9, 11, 13};
inline const QColor keyTop{78, 88, 97};
inline const QColor keyBottom{40, 46, 52};
inline const QColor keyPressedTop{22, 26, 30};
inline const QColor keyPressedBottom{40, 47, 53};
inline const QColor display{6, 12, 8};
inline const QColor displayLow{12, 22, 15};
inline const QColor green{132, 255, 132};
inline const QColor greenDeep{26, 150, 52};
inline const QColor greyGlyph{141, 151, 159};
inline const QColor amber{255, 178, 30};
inline const QColor red{226, 50, 31};
inline const QColor lightPanel{226, 230, 233};
inline const QColor lightPanelEdge{150, 159, 166};
inline const QColor field{248, 249, 250};
inline const QColor engraved{120, 129, 136};
}  // namespace colours

// Edges of a channel column that a piece of it lies on.
enum PlateEdge { NoEdge = 0, LeftEdge = 1, RightEdge = 2 };

// Registers the typeface used for lettering inside the pictures; false when the file is unusable.
bool loadLetteringFont(const QString& fontFile);
QFont letteringFont(int pixelSize);

QPainterPath roundedRect(const QRectF& rect, qreal radius);

void fillVertical(QPainter& p, const QRectF& rect, const QColor& top, const QColor& bottom, qreal radius = 0);

// A piece of a channel column; its edge lines make the pieces of one panel read as one plate.
void drawPlate(QPainter& p, const QRectF& rect, int edges);

// A dark bevelled touch key filling rect; pressed keys look pushed in.
void drawKey(QPainter& p, const QRectF& rect, bool pressed);

// A short indicator lamp set into a key.
void drawLamp(QPainter& p, const QRectF& rect, const QColor& litColour, bool lit);

// A recessed dark display window for green values.
void drawDisplayWindow(QPainter& p, const QRectF& rect);

// A dark recess that a key is later drawn into.
void drawWell(QPainter& p, const QRectF& rect);

// A raised light panel and a sunken white field on it, for texts in dark grey.
void drawLightPanel(QPainter& p, const QRectF& rect);
void drawLightField(QPainter& p, const QRectF& rect);

// Text cut into a light surface: dark letters with a light lower edge.
void drawEngravedText(QPainter& p, const QRectF& box, int flags, const QString& text, const QFont& font);

// Soft round glow, for lit lamps and symbols.
void drawGlow(QPainter& p, const QPointF& centre, qreal radius, const QColor& colour);

}  // namespace artwork
