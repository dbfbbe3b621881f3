#pragma once

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// An opaque picture kept in the surface's own pixel format, packed row by row into runs of one
// colour and runs of literal pixels. The panel's artwork is mostly flat and gradients along
// columns, so it takes a fraction of its raw size, yet draws with nothing but fills and copies.
// Small pictures keep plain rows, which copy fastest.
class PackedPicture {
public:
    // Packs a picture without an alpha channel; none for one with alpha or a null one.
    static std::optional<PackedPicture> Pack(const QImage& image);
    // Packs a 24-bit uncompressed bitmap file straight from its bytes, a row at a time, so the
    // whole picture is never decoded at once; none for any other kind of file.
    static std::optional<PackedPicture> FromBitmapFile(const QByteArray& file);
    // A picture packed ahead, as Serialize() wrote it; none for bytes that are not one, or whose
    // runs do not cover each row exactly.
    static std::optional<PackedPicture> FromPackedFile(const QByteArray& file);
    // The packed picture as bytes: a short header, the row starts and the runs, little-endian.
    // The build packs the pictures once, so the panel neither decodes nor packs them at start.
    QByteArray Serialize() const;

    QSize size() const { return QSize(width_, height_); }
    // Bytes held for the pixels.
    size_t byteSize() const { return (runs_.size() + rowStart_.size()) * sizeof(uint32_t); }

    // Copies the part source of the picture (cut to the picture) so that its pixel (sx, sy) lands on
    // at + (sx, sy) - source.topLeft() of target, cut to target. Device pixels; target is RGB32.
    void DrawInto(QImage& target, QPoint at, QRect source) const;

    // The picture as an image again.
    QImage Unpack() const;

private:
    PackedPicture(int width, int height) : width_(width), height_(height) {}
    // rowAt(y) gives row y's pixels in the surface's format, valid until the next call, or null
    // for a row the same as the one before it (never for the first).
    static PackedPicture PackRows(int width, int height, const std::function<const uint32_t*(int)>& rowAt);
    // Whether every row's runs lie within the runs and cover exactly the width.
    bool RowsCoverWidth() const;

    int width_;
    int height_;
    // Per row, runs that together cover the width: a header (length << 1 | 1 for one colour),
    // then that colour or length pixels. Equal neighbouring rows share their runs.
    std::vector<uint32_t> runs_;
    std::vector<uint32_t> rowStart_;
};
