#pragma once

#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRect>

#include <cstdint>
#include <vector>

// How much of each device pixel a shaped text covers, kept as spans of the pixels it reaches, so
// that drawing it again blends those pixels in one pass instead of going glyph by glyph through a
// painter. The blend is the painter's own for an opaque pen on an opaque image; DrawsLikePainter()
// checks that it gives the painter's pixels here before any text is drawn this way.
class TextMask {
public:
    // The glyphs as a painter on an image of the given scale draws them with their origin at
    // origin, cut to reach (both in layout pixels; reach's corner is the mask's).
    TextMask(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale);

    // Blends colour, which must be opaque, into target (RGB32) with the mask's corner at the
    // device pixel at, cut to the target.
    void Draw(QImage& target, QPoint at, QRgb colour) const;

    // Whether Draw() sets exactly the pixels a painter sets for these glyphs.
    static bool DrawsLikePainter(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale);

    // Bytes held.
    size_t byteSize() const { return ops_.size() + overlaps_.size() * sizeof(Overlap); }

private:
    // Each row of the mask as pairs of bytes, pixels to skip and a run: its length, and the top
    // bit set when the run is fully covered, else its coverage bytes follow. A skip of 255 with an
    // empty full run only skips; a pair of zeros ends the row.
    static constexpr int kFullRun = 0x80;
    static constexpr int kLongestRun = 0x7F;
    static constexpr int kLongestSkip = 0xFF;
    static void EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& ops);

    // A pixel a later glyph covers again, blended after the rows.
    struct Overlap {
        uint16_t y;
        uint16_t x;
        uint8_t coverage;
    };
    std::vector<uint8_t> ops_;
    std::vector<Overlap> overlaps_;
};
