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
    void Draw(QImage& target, QPoint at, QRgb colour) const { Draw(target, at, colour, target.rect()); }
    // The same, cut to clip too (device pixels): no pixel outside it changes.
    void Draw(QImage& target, QPoint at, QRgb colour, const QRect& clip) const;

    // Whether Draw() sets exactly the pixels a painter sets for these glyphs.
    static bool DrawsLikePainter(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale);

    // Bytes held.
    size_t byteSize() const {
        return rowSpans_.size() * sizeof(uint32_t) + spans_.size() * sizeof(Span) + coverage_.size() +
               overlaps_.size() * sizeof(Overlap);
    }

private:
    // Each row keeps its covered pixels as spans of coverage bytes, the gaps inside a span and its
    // padding to whole fours included: blending a pixel at coverage 0 leaves it as it was, so a
    // span blends four pixels at a time with no branch, and text this small has few long gaps
    // worth a span of their own.
    struct Span {
        uint32_t offset;  // into coverage_
        uint16_t x;
        uint16_t length;  // a multiple of four
    };
    static constexpr int kGapInSpan = 12;

    // A pixel a later glyph covers again, blended after the rows.
    struct Overlap {
        uint16_t y;
        uint16_t x;
        uint8_t coverage;
    };
    std::vector<uint32_t> rowSpans_;  // each row's first span; one more, where the last row's end
    std::vector<Span> spans_;
    std::vector<uint8_t> coverage_;
    std::vector<Overlap> overlaps_;
};
