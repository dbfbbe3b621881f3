#include "PackedPicture.h"

#include <QtEndian>

#include <algorithm>
#include <cstring>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace {

// Shorter repeats go into the surrounding literal run: a run of one colour costs two words.
constexpr int kShortestFill = 3;
// Pictures up to the size of the main screen's buttons and fields keep plain rows: they cost little
// memory as they are, are drawn by the dozen on every paint, and a row copied whole beats many
// short runs.
constexpr qsizetype kLargestPlain = 10000;

// Fills count pixels with one colour: runs of four and more in 16-byte stores, the last four
// overlapping those before where the count is not a multiple of four.
#if defined(__SSE2__) || defined(_M_X64)
inline void FillPixels(uint32_t* out, int count, uint32_t colour) {
    if (count < 4) {
        for (int i = 0; i < count; ++i) {
            out[i] = colour;
        }
        return;
    }
    const __m128i four = _mm_set1_epi32(static_cast<int>(colour));
    uint32_t* const end = out + count;
    for (; end - out >= 16; out += 16) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 4), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 8), four);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 12), four);
    }
    for (; end - out >= 4; out += 4) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), four);
    }
    if (out != end) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(end - 4), four);
    }
}
#else
inline void FillPixels(uint32_t* out, int count, uint32_t colour) {
    std::fill(out, out + count, colour);
}
#endif

}  // namespace

std::optional<PackedPicture> PackedPicture::Pack(const QImage& image) {
    if (image.isNull() || image.hasAlphaChannel()) {
        return std::nullopt;
    }
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    return PackRows(pixels.width(), pixels.height(),
                    [&pixels](int y) { return reinterpret_cast<const uint32_t*>(pixels.constScanLine(y)); });
}

std::optional<PackedPicture> PackedPicture::FromBitmapFile(const QByteArray& file) {
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    const qsizetype size = file.size();
    constexpr qsizetype kHeadersSize = 54;  // file header and the smallest info header
    if (size < kHeadersSize || bytes[0] != 'B' || bytes[1] != 'M') {
        return std::nullopt;
    }
    const qsizetype pixelsAt = qFromLittleEndian<quint32>(bytes + 10);
    const quint32 infoSize = qFromLittleEndian<quint32>(bytes + 14);
    const qint32 width = qFromLittleEndian<qint32>(bytes + 18);
    const qint32 height = qFromLittleEndian<qint32>(bytes + 22);
    const quint16 planes = qFromLittleEndian<quint16>(bytes + 26);
    const quint16 bitsPerPixel = qFromLittleEndian<quint16>(bytes + 28);
    const quint32 compression = qFromLittleEndian<quint32>(bytes + 30);
    constexpr qint32 kLargestSide = 1 << 15;
    if (infoSize < 40 || planes != 1 || bitsPerPixel != 24 || compression != 0 || width <= 0 ||
        width > kLargestSide || height == 0 || height < -kLargestSide || height > kLargestSide) {
        return std::nullopt;
    }
    const int rows = height < 0 ? -height : height;
    const qsizetype stride = (qsizetype(width) * 3 + 3) / 4 * 4;
    if (pixelsAt < kHeadersSize || pixelsAt > size || stride * rows > size - pixelsAt) {
        return std::nullopt;
    }
    // Stored bottom row first unless the height is negative; blue, green, red per pixel. A row
    // stored as the one before it is not converted again.
    std::vector<uint32_t> row(static_cast<size_t>(width));
    const uchar* previous = nullptr;
    return PackRows(width, rows, [&](int y) -> const uint32_t* {
        const uchar* in = bytes + pixelsAt + stride * (height < 0 ? y : rows - 1 - y);
        if (previous != nullptr && std::memcmp(in, previous, static_cast<size_t>(width) * 3) == 0) {
            return nullptr;
        }
        previous = in;
        for (uint32_t& pixel : row) {
            pixel = qRgb(in[2], in[1], in[0]);
            in += 3;
        }
        return row.data();
    });
}

namespace {
constexpr char kPackedMagic[4] = {'R', 'Z', 'P', 'K'};
constexpr qsizetype kPackedHeaderSize = 16;  // magic, width, height, count of run words
constexpr qint32 kLargestPackedSide = 1 << 15;

void AppendWords(QByteArray& out, const std::vector<uint32_t>& words) {
    const qsizetype at = out.size();
    out.resize(at + qsizetype(words.size()) * 4);
    qToLittleEndian<quint32>(words.data(), qsizetype(words.size()), out.data() + at);
}

void ReadWords(const uchar* in, std::vector<uint32_t>& words) {
    qFromLittleEndian<quint32>(in, qsizetype(words.size()), words.data());
}
}  // namespace

QByteArray PackedPicture::Serialize() const {
    QByteArray out(kPackedHeaderSize, Qt::Uninitialized);
    std::memcpy(out.data(), kPackedMagic, sizeof kPackedMagic);
    qToLittleEndian<quint32>(quint32(width_), out.data() + 4);
    qToLittleEndian<quint32>(quint32(height_), out.data() + 8);
    qToLittleEndian<quint32>(quint32(runs_.size()), out.data() + 12);
    AppendWords(out, rowStart_);
    AppendWords(out, runs_);
    return out;
}

std::optional<PackedPicture> PackedPicture::FromPackedFile(const QByteArray& file) {
    const auto* bytes = reinterpret_cast<const uchar*>(file.constData());
    const qsizetype size = file.size();
    if (size < kPackedHeaderSize || std::memcmp(bytes, kPackedMagic, sizeof kPackedMagic) != 0) {
        return std::nullopt;
    }
    const quint32 width = qFromLittleEndian<quint32>(bytes + 4);
    const quint32 height = qFromLittleEndian<quint32>(bytes + 8);
    const quint32 runCount = qFromLittleEndian<quint32>(bytes + 12);
    if (width == 0 || width > kLargestPackedSide || height == 0 || height > kLargestPackedSide ||
        (size - kPackedHeaderSize) / 4 != qsizetype(height) + qsizetype(runCount) ||
        (size - kPackedHeaderSize) % 4 != 0) {
        return std::nullopt;
    }
    PackedPicture packed(static_cast<int>(width), static_cast<int>(height));
    packed.rowStart_.resize(height);
    packed.runs_.resize(runCount);
    ReadWords(bytes + kPackedHeaderSize, packed.rowStart_);
    ReadWords(bytes + kPackedHeaderSize + qsizetype(height) * 4, packed.runs_);
    if (!packed.RowsCoverWidth()) {
        return std::nullopt;
    }
    return packed;
}

bool PackedPicture::RowsCoverWidth() const {
    const size_t count = runs_.size();
    for (const uint32_t start : rowStart_) {
        size_t at = start;
        int covered = 0;
        while (covered < width_) {
            if (at >= count) {
                return false;
            }
            const uint32_t header = runs_[at++];
            const uint32_t length = header >> 1;
            const size_t words = (header & 1u) != 0 ? 1 : length;
            if (length == 0 || length > uint32_t(width_ - covered) || words > count - at) {
                return false;
            }
            at += words;
            covered += int(length);
        }
    }
    return true;
}

PackedPicture PackedPicture::PackRows(int width, int height,
                                      const std::function<const uint32_t*(int)>& rowAt) {
    PackedPicture packed(width, height);
    packed.rowStart_.reserve(static_cast<size_t>(height));
    std::vector<uint32_t>& runs = packed.runs_;
    const int shortestFill = qsizetype(width) * height <= kLargestPlain ? width + 1 : kShortestFill;
    for (int y = 0; y < height; ++y) {
        const uint32_t* row = rowAt(y);
        if (row == nullptr) {
            packed.rowStart_.push_back(packed.rowStart_.back());
            continue;
        }
        const size_t start = runs.size();
        int literalStart = 0;
        const auto flushLiteral = [&](int end) {
            if (end > literalStart) {
                runs.push_back(static_cast<uint32_t>(end - literalStart) << 1);
                runs.insert(runs.end(), row + literalStart, row + end);
            }
        };
        int x = 0;
        while (x < width) {
            int end = x + 1;
            while (end < width && row[end] == row[x]) {
                ++end;
            }
            if (end - x >= shortestFill) {
                flushLiteral(x);
                runs.push_back(static_cast<uint32_t>(end - x) << 1 | 1u);
                runs.push_back(row[x]);
                literalStart = end;
            }
            x = end;
        }
        flushLiteral(width);

        if (y > 0) {
            const size_t previous = packed.rowStart_.back();
            const size_t length = runs.size() - start;
            if (start - previous == length && std::equal(runs.begin() + static_cast<std::ptrdiff_t>(previous),
                                                         runs.begin() + static_cast<std::ptrdiff_t>(start),
                                                         runs.begin() + static_cast<std::ptrdiff_t>(start))) {
                runs.resize(start);
                packed.rowStart_.push_back(static_cast<uint32_t>(previous));
                continue;
            }
        }
        packed.rowStart_.push_back(static_cast<uint32_t>(start));
    }
    runs.shrink_to_fit();
    return packed;
}

void PackedPicture::DrawInto(QImage& target, QPoint at, QRect source) const {
    const QPoint offset = at - source.topLeft();
    const QRect drawn =
        source.intersected(QRect(0, 0, width_, height_)).translated(offset).intersected(target.rect());
    if (drawn.isEmpty()) {
        return;
    }
    const int x0 = drawn.left() - offset.x();
    const int x1 = drawn.right() + 1 - offset.x();
    uchar* const bits = target.bits();
    const qsizetype stride = target.bytesPerLine();
    for (int ty = drawn.top(); ty <= drawn.bottom(); ++ty) {
        uint32_t* out = reinterpret_cast<uint32_t*>(bits + ty * stride) + drawn.left();
        const uint32_t* run = runs_.data() + rowStart_[static_cast<size_t>(ty - offset.y())];
        if (x0 == 0 && x1 == width_) {
            // Whole rows, the usual case, need no cutting.
            const uint32_t* const end = out + width_;
            while (out < end) {
                const uint32_t header = *run++;
                const int length = static_cast<int>(header >> 1);
                if ((header & 1u) != 0) {
                    FillPixels(out, length, *run++);
                } else {
                    std::memcpy(out, run, static_cast<size_t>(length) * 4);
                    run += length;
                }
                out += length;
            }
            continue;
        }
        int column = 0;
        while (column < x1) {
            const uint32_t header = *run++;
            const int length = static_cast<int>(header >> 1);
            const bool fill = (header & 1u) != 0;
            const int from = std::max(column, x0);
            const int to = std::min(column + length, x1);
            if (from < to) {
                if (fill) {
                    FillPixels(out + (from - x0), to - from, *run);
                } else {
                    std::memcpy(out + (from - x0), run + (from - column), static_cast<size_t>(to - from) * 4);
                }
            }
            run += fill ? 1 : length;
            column += length;
        }
    }
}

QImage PackedPicture::Unpack() const {
    QImage image(width_, height_, QImage::Format_RGB32);
    DrawInto(image, QPoint(0, 0), QRect(0, 0, width_, height_));
    return image;
}
