#pragma once

#include "PanelFont.h"
#include "PanelLayout.h"

#include <QColor>
#include <QString>

class SurfaceCanvas;

// The drawing primitives every screen paints with.
class PanelPainter {
public:
    PanelPainter(SurfaceCanvas& canvas, const PanelFont::Fonts& fonts) : canvas_(canvas), fonts_(fonts) {}

    // Picture id at its place; false, and nothing drawn, when there is no such picture.
    bool DrawBitmap(int id, int x, int y, int w, int h);
    // Picture id at a place of a layout, cut to the place's size.
    bool DrawPicture(int id, const layout::Place& place) {
        return DrawBitmap(id, place.x, place.y, place.width, place.height);
    }
    bool DrawPicture(const layout::Picture& picture) { return DrawPicture(picture.id, picture.place); }
    void DrawBackground();
    // One line of text, cell top-left at (x, y), transparent background, cut to its box: a text
    // too long for its place never runs over its neighbours.
    void DrawLabel(const QFont& font, const QColor& colour, int x, int y, const QString& text,
                   const layout::Place& box);

    const PanelFont::Fonts& fonts() const { return fonts_; }

private:
    SurfaceCanvas& canvas_;
    const PanelFont::Fonts& fonts_;
};
