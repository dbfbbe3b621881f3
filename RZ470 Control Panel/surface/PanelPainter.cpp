#include "PanelPainter.h"

#include "PictureIds.h"
#include "SurfaceCanvas.h"

namespace {
constexpr layout::Picture kBackground{pictures::kBackground, {0, 0, 1450, 424}};
}  // namespace

bool PanelPainter::DrawBitmap(int id, int x, int y, int w, int h) {
    return canvas_.drawBitmap(id, x, y, w, h);
}

void PanelPainter::DrawBackground() {
    DrawPicture(kBackground);
}

void PanelPainter::DrawLabel(const QFont& font, const QColor& colour, int x, int y, const QString& text,
                             const layout::Place& box) {
    canvas_.drawText(font, colour, x, y, text, QRect(box.x, box.y, box.width, box.height));
}
