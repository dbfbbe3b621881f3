#include "Screen.h"

#include "PanelPainter.h"

void Screen::DrawPressed(int id) {
    DrawRegion(Buttons()[static_cast<size_t>(id)], true);
}

void Screen::DrawRegion(const HitRegion& region, bool pressed) {
    ctx_.painter.DrawBitmap(pressed ? region.pressedPicture : region.normalPicture, region.x, region.y,
                            region.width, region.height);
}
