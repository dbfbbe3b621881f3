#include "TextMask.h"

#include <QPainter>

#include <algorithm>

namespace {

// x * a / 255 per channel, rounded as the painter's raster engine rounds.
inline uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xff00ff) * a;
    t = (t + ((t >> 8) & 0xff00ff) + 0x800080) >> 8;
    t &= 0xff00ff;
    x = ((x >> 8) & 0xff00ff) * a;
    x = x + ((x >> 8) & 0xff00ff) + 0x800080;
    x &= 0xff00ff00;
    return x | t;
}

// An opaque colour over an opaque pixel at coverage c, as the painter blends it.
inline uint32_t Blend(uint32_t pixel, uint32_t colour, uint32_t c) {
    return c == 255 ? colour : ByteMul(colour, c) + ByteMul(pixel, 255 - c);
}

// Each glyph alone in white on black: a pixel's blue is its coverage, since white blended over
// black at coverage c is c. Glyphs are kept apart because where two overlap the painter blends
// the second over the first, which rounds otherwise than one blend of their joint coverage.
template <typename Take>
void ForEachGlyphCoverage(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale,
                          Take&& take) {
    QImage image(reach.size() * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    for (const QGlyphRun& run : glyphs) {
        const QList<quint32> indexes = run.glyphIndexes();
        const QList<QPointF> positions = run.positions();
        for (qsizetype i = 0; i < indexes.size() && i < positions.size(); ++i) {
            QGlyphRun one = run;
            one.setGlyphIndexes({indexes[i]});
            one.setPositions({positions[i]});
            image.fill(Qt::black);
            {
                QPainter painter(&image);
                painter.setPen(Qt::white);
                painter.drawGlyphRun(origin - QPointF(reach.topLeft()), one);
            }
            for (int y = 0; y < image.height(); ++y) {
                const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
                for (int x = 0; x < image.width(); ++x) {
                    if (qBlue(row[x]) != 0) {
                        take(x, y, qBlue(row[x]));
                    }
                }
            }
        }
    }
}

}  // namespace

TextMask::TextMask(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale) {
    const QSize size = reach.size() * scale;
    const int width = std::min(size.width(), 0xFFFF);
    const int height = std::min(size.height(), 0xFFFF);
    // The first glyph's coverage of each pixel; later glyphs over the same pixel, in their order.
    std::vector<uint8_t> first(size_t(width) * size_t(height), 0);
    ForEachGlyphCoverage(glyphs, origin, reach, scale, [&](int x, int y, int c) {
        if (x >= width || y >= height) {
            return;
        }
        uint8_t& kept = first[size_t(y) * size_t(width) + size_t(x)];
        if (kept == 0) {
            kept = uint8_t(c);
        } else {
            overlaps_.push_back({uint16_t(y), uint16_t(x), uint8_t(c)});
        }
    });
    for (int y = 0; y < height; ++y) {
        EncodeRow(first.data() + size_t(y) * size_t(width), width, ops_);
    }
    ops_.shrink_to_fit();
    overlaps_.shrink_to_fit();
}

void TextMask::EncodeRow(const uint8_t* row, int width, std::vector<uint8_t>& ops) {
    int x = 0;
    int skip = 0;
    while (x < width) {
        if (row[x] == 0) {
            ++x;
            if (++skip == kLongestSkip) {
                ops.insert(ops.end(), {uint8_t(kLongestSkip), kFullRun});
                skip = 0;
            }
            continue;
        }
        const bool full = row[x] == 255;
        int end = x + 1;
        while (end < width && end - x < kLongestRun && row[end] != 0 && (row[end] == 255) == full) {
            ++end;
        }
        const auto length = uint8_t(end - x);
        ops.insert(ops.end(), {uint8_t(skip), uint8_t(full ? kFullRun | length : length)});
        if (!full) {
            ops.insert(ops.end(), row + x, row + end);
        }
        skip = 0;
        x = end;
    }
    ops.insert(ops.end(), {uint8_t(0), uint8_t(0)});
}

void TextMask::Draw(QImage& target, QPoint at, QRgb colour) const {
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    const int width = target.width();
    const int height = target.height();
    const uint8_t* op = ops_.data();
    for (int y = at.y();; ++y) {
        if (op == ops_.data() + ops_.size()) {
            break;
        }
        const bool inside = y >= 0 && y < height;
        auto* const out = inside ? reinterpret_cast<uint32_t*>(bits + y * stride) : nullptr;
        int x = at.x();
        for (;;) {
            const int skip = *op++;
            const int code = *op++;
            if (skip == 0 && code == 0) {
                break;
            }
            x += skip;
            const int length = code & ~kFullRun;
            const bool full = (code & kFullRun) != 0;
            if (inside) {
                const int from = std::max(x, 0);
                const int to = std::min(x + length, width);
                if (full) {
                    if (from < to) {
                        std::fill(out + from, out + to, colour);
                    }
                } else {
                    for (int i = from; i < to; ++i) {
                        out[i] = Blend(out[i], colour, op[i - x]);
                    }
                }
            }
            if (!full) {
                op += length;
            }
            x += length;
        }
    }
    for (const Overlap& overlap : overlaps_) {
        const int x = at.x() + overlap.x;
        const int y = at.y() + overlap.y;
        if (x >= 0 && x < width && y >= 0 && y < height) {
            auto* out = reinterpret_cast<uint32_t*>(bits + y * stride) + x;
            *out = Blend(*out, colour, overlap.coverage);
        }
    }
}

bool TextMask::DrawsLikePainter(const QList<QGlyphRun>& glyphs, QPointF origin, QRect reach, int scale) {
    // Coloured glyphs over a background of many colours, both ways.
    QImage painted(reach.size() * scale, QImage::Format_RGB32);
    for (int y = 0; y < painted.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(painted.scanLine(y));
        for (int x = 0; x < painted.width(); ++x) {
            row[x] = qRgb((x * 37 + y * 11) & 0xFF, (x * 5 + y * 91) & 0xFF, (x * 113 + y * 7) & 0xFF);
        }
    }
    painted.setDevicePixelRatio(scale);
    QImage blended = painted.copy();
    constexpr QRgb kProbeColour = 0xFFE8A31C;
    {
        QPainter painter(&painted);
        painter.setPen(QColor::fromRgb(kProbeColour));
        for (const QGlyphRun& run : glyphs) {
            painter.drawGlyphRun(origin - QPointF(reach.topLeft()), run);
        }
    }
    TextMask(glyphs, origin, reach, scale).Draw(blended, QPoint(0, 0), kProbeColour);
    return blended == painted;
}
