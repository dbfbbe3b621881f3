#include "TextMask.h"

#include "CoverageBlend.h"

#include <QPainter>

#include <algorithm>

namespace {

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
    rowSpans_.reserve(size_t(height) + 1);
    for (int y = 0; y < height; ++y) {
        rowSpans_.push_back(uint32_t(spans_.size()));
        const uint8_t* row = first.data() + size_t(y) * size_t(width);
        int x = 0;
        while (x < width) {
            if (row[x] == 0) {
                ++x;
                continue;
            }
            // To the last covered pixel before a gap too long to carry.
            int end = x + 1;
            for (int next = end; next < width && next - end <= kGapInSpan; ++next) {
                if (row[next] != 0) {
                    end = next + 1;
                }
            }
            const int length = std::min((end - x + 3) / 4 * 4, 0xFFFC);
            spans_.push_back({uint32_t(coverage_.size()), uint16_t(x), uint16_t(length)});
            coverage_.insert(coverage_.end(), row + x, row + std::min(x + length, end));
            coverage_.resize(coverage_.size() + size_t(std::max(0, x + length - end)), 0);
            x = std::min(x + length, end);
        }
    }
    rowSpans_.push_back(uint32_t(spans_.size()));
    spans_.shrink_to_fit();
    coverage_.shrink_to_fit();
    overlaps_.shrink_to_fit();
}

void TextMask::Draw(QImage& target, QPoint at, QRgb colour, const QRect& clip) const {
    const QRect area = clip.intersected(target.rect());
    if (area.isEmpty()) {
        return;
    }
    const coverage_blend::SpanBlend blend = coverage_blend::Fastest();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    // One past the last column and row that may change.
    const int right = area.x() + area.width();
    const int bottom = area.y() + area.height();
    const int firstRow = std::max(0, area.y() - at.y());
    const int endRow = std::min(int(rowSpans_.size()) - 1, bottom - at.y());
    for (int r = firstRow; r < endRow; ++r) {
        auto* const out = reinterpret_cast<uint32_t*>(bits + qsizetype(at.y() + r) * stride);
        for (uint32_t s = rowSpans_[size_t(r)]; s < rowSpans_[size_t(r) + 1]; ++s) {
            const Span& span = spans_[s];
            const int x = at.x() + span.x;
            const int from = std::max(x, area.x());
            const int to = std::min(x + int(span.length), right);
            if (from < to) {
                blend(out + from, coverage_.data() + span.offset + (from - x), to - from, colour);
            }
        }
    }
    for (const Overlap& overlap : overlaps_) {
        const QPoint pixel(at.x() + overlap.x, at.y() + overlap.y);
        if (area.contains(pixel)) {
            auto* out = reinterpret_cast<uint32_t*>(bits + pixel.y() * stride) + pixel.x();
            *out = coverage_blend::Pixel(*out, colour, overlap.coverage);
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
