#include "PanelPainter.h"

#include "SurfaceCanvas.h"

namespace {
constexpr int kBackgroundPicture = 131;
constexpr int kBackgroundWidth = 1450;
constexpr int kBackgroundHeight = 424;
}  // namespace

bool PanelPainter::DrawBitmap(int id, int x, int y, int w, int h) {
    return canvas_.drawBitmap(id, x, y, w, h);
}

void PanelPainter::DrawBackground() {
    DrawBitmap(kBackgroundPicture, 0, 0, kBackgroundWidth, kBackgroundHeight);
}

void PanelPainter::DrawLabel(const QFont& font, const QColor& colour, int x, int y, const QString& text) {
    canvas_.drawText(font, colour, x, y, text);
}
