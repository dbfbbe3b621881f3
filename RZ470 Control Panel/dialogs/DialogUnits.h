#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

// Dialog units to pixels, as Windows maps a dialog template: the horizontal base unit is the
// average width of the 52 Latin letters in the dialog's font, rounded to whole pixels, the
// vertical one the font's cell height; x scales by base / 4 and y by base / 8, rounded.
class DialogUnits {
public:
    // The base units of font as the screen renders it.
    explicit DialogUnits(const QFont& font);
    DialogUnits(int baseX, int baseY) : baseX_(baseX), baseY_(baseY) {}

    // A template's 8-point shell dialog font, as this platform resolves the name.
    static QFont DialogFont();

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const { return Rect(0, 0, width, height).size(); }
    int X(int x) const;
    int Y(int y) const;

    int baseX() const { return baseX_; }
    int baseY() const { return baseY_; }

private:
    int baseX_;
    int baseY_;
};
