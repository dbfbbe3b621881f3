#include "SurfaceCanvas.h"

#include "PackedArtwork.h"
#include "PackedPicture.h"
#include "PanelArtwork.h"
#include "TextMask.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>

#include <algorithm>
#include <utility>

#if defined(Q_OS_LINUX)
#include <sys/mman.h>

#include <cstdint>
#endif

namespace {

// The texts kept per font; the values shown change, so the oldest are dropped all at once.
constexpr qsizetype kKeptTextsPerFont = 256;

// The draws of a text that go through the painter before it gets its mask.
constexpr int kDrawsBeforeMask = 3;

// A glyph's box is rounded to whole pixels; its antialiased edge may pass it by part of one.
constexpr int kInkMargin = 1;

// Texts whose layout a single line of QTextLayout might not reproduce exactly (tabs, breaks and
// other controls) are drawn directly, as they always were.
bool ShapesAsOneLine(const QString& text) {
    return std::none_of(text.begin(), text.end(), [](QChar c) {
        return c.unicode() < 0x20 || c.category() == QChar::Other_Control ||
               c.category() == QChar::Separator_Line || c.category() == QChar::Separator_Paragraph;
    });
}

// The layout pixels that size device pixels reach (QSize's own division rounds to nearest).
QSize LayoutPixels(QSize size, int scale) {
    return QSize((size.width() + scale - 1) / scale, (size.height() + scale - 1) / scale);
}

#if defined(Q_OS_LINUX)
struct Mapping {
    void* start;
    size_t length;
};

void Unmap(void* info) {
    const auto* mapping = static_cast<Mapping*>(info);
    munmap(mapping->start, mapping->length);
    delete mapping;
}

// The surface's pixels in memory of its own, asked for in huge pages. The first paint writes every
// pixel, and 4 KB at a time that is thousands of page faults (2400 at device pixel ratio 2), which
// on a virtual machine cost more than the writing itself. A null image where that memory is not
// to be had, or the surface is smaller than two huge pages: the half-filled last one would count
// against the panel's memory for little gain.
QImage ImageInHugePages(QSize pixels) {
    constexpr size_t kHugePage = size_t(2) << 20;
    constexpr size_t kPage = 4096;
    const qsizetype bytesPerLine = qsizetype(pixels.width()) * 4;
    const size_t length = (size_t(bytesPerLine) * size_t(pixels.height()) + kPage - 1) / kPage * kPage;
    if (length < 2 * kHugePage) {
        return {};
    }
    void* mapped =
        mmap(nullptr, length + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        return {};
    }
    // Only whole huge pages on their boundaries become huge: the mapping starts on one.
    auto* const first = static_cast<uchar*>(mapped);
    auto* const start = reinterpret_cast<uchar*>((reinterpret_cast<uintptr_t>(first) + kHugePage - 1) &
                                                 ~uintptr_t(kHugePage - 1));
    auto* const end = first + length + kHugePage;
    if (start != first) {
        munmap(first, size_t(start - first));
    }
    if (start + length != end) {
        munmap(start + length, size_t(end - (start + length)));
    }
    madvise(start, length, MADV_HUGEPAGE);
    return QImage(start, pixels.width(), pixels.height(), bytesPerLine, QImage::Format_RGB32, Unmap,
                  new Mapping{start, length});
}
#endif

QImage BlackSurface(QSize pixels, int scale) {
    QImage surface;
#if defined(Q_OS_LINUX)
    surface = ImageInHugePages(pixels);
#endif
    if (surface.isNull()) {
        surface = QImage(pixels, QImage::Format_RGB32);
    }
    surface.setDevicePixelRatio(scale);
    surface.fill(Qt::black);
    return surface;
}

}  // namespace

SurfaceCanvas::SurfaceCanvas(QSize size, int scale)
    : size_(size), scale_(std::clamp(scale, 1, PanelArtwork::kLargestScale)) {
    surface_ = BlackSurface(size_ * scale_, scale_);
}

SurfaceCanvas::~SurfaceCanvas() {
    endText();
}

void SurfaceCanvas::setScale(int scale) {
    scale = std::clamp(scale, 1, PanelArtwork::kLargestScale);
    if (scale == scale_) {
        return;
    }
    endText();
    scale_ = scale;
    pictures_.clear();
    // The masks are made in the old scale's pixels.
    fontTexts_.clear();
    masksDrawLikePainter_.reset();
    surface_ = BlackSurface(size_ * scale_, scale_);
    damage(QRect(QPoint(0, 0), size_));
}

const SurfaceCanvas::Picture* SurfaceCanvas::picture(int id) {
    auto found = pictures_.find(id);
    if (found == pictures_.end()) {
        std::optional<Picture> kept;
        // The generated pictures come packed by the build; anything else goes through the image
        // reader. A picture missing at this scale is drawn from the one at scale 1, enlarged.
        for (const int scale : {scale_, 1}) {
            std::optional<PackedPicture> packed = PackedArtwork(id, scale);
            QImage decoded;
            if (!packed) {
                decoded = QImage(PanelArtwork::bitmapPath(id, scale));
                packed = PackedPicture::Pack(decoded);
            }
            if (packed && scale == scale_) {
                kept.emplace();
                kept->packed = std::make_unique<PackedPicture>(std::move(*packed));
            } else if (packed || !decoded.isNull()) {
                kept.emplace();
                kept->image = packed ? packed->Unpack() : decoded;
                kept->image.setDevicePixelRatio(scale);
            }
            if (kept || scale == 1) {
                break;
            }
        }
        found = pictures_.emplace(id, std::move(kept)).first;
    }
    return found->second ? &*found->second : nullptr;
}

bool SurfaceCanvas::drawBitmap(int id, int x, int y, int w, int h) {
    const Picture* picture = this->picture(id);
    if (picture == nullptr) {
        return false;
    }
    const QPoint at(x, y);
    QRect reach;
    if (picture->packed) {
        // In the surface's own pixels. As QPainter takes a source of no width or height: to the
        // picture's edge.
        const QSize size = picture->packed->size();
        const QSize source =
            QSize(w > 0 ? w * scale_ : size.width(), h > 0 ? h * scale_ : size.height()).boundedTo(size);
        picture->packed->DrawInto(surface_, at * scale_, QRect(QPoint(0, 0), source));
        // A part ending inside a layout pixel still sets the device pixels it reaches there.
        reach = QRect(at, LayoutPixels(source, scale_));
    } else {
        const qreal ratio = picture->image.devicePixelRatio();
        painter().drawImage(QPointF(at), picture->image, QRectF(0, 0, w * ratio, h * ratio));
        const QSize whole = picture->image.deviceIndependentSize().toSize();
        reach = QRect(at, QSize(w > 0 ? w : whole.width(), h > 0 ? h : whole.height()));
    }
    damage(reach);
    return true;
}

void SurfaceCanvas::drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text,
                             const QRect& box) {
    ShapedText& shape = shaped(font, text);
    // Laid out by the painter itself, a text that is no single line may reach anywhere.
    const QRect reach = shape.oneLine ? shape.reach.translated(x, y) : QRect(QPoint(0, 0), size_);
    const QRect drawn = reach.intersected(box);
    if (drawn.isEmpty()) {
        return;
    }
    // Through the painter, in colour and cut to the box; most texts lie wholly inside their box,
    // and the painter is spared a clip for them.
    const auto paint = [&](const auto& draw) {
        QPainter& painter = this->painter();
        painter.setPen(colour);
        const bool cut = drawn != reach;
        if (cut) {
            painter.setClipRect(drawn);
        }
        draw(painter);
        if (cut) {
            painter.setClipping(false);
        }
    };
    if (shape.oneLine) {
        // The glyphs' baseline lands where drawText puts it: the cell's top plus the ascent.
        const QPointF baseline(0, shape.ascent - shape.lineAscent);
        // Making a mask costs a few painter draws of the text. A text drawn once or twice, as
        // most are while the panel starts, is not worth it; one drawn again and again is.
        shape.draws = std::min(shape.draws + 1, kDrawsBeforeMask);
        if (shape.draws == kDrawsBeforeMask && colour.alpha() == 255 &&
            MasksDrawLikePainter(shape.glyphs, baseline, shape.reach)) {
            if (!shape.mask) {
                shape.mask = std::make_shared<const TextMask>(shape.glyphs, baseline, shape.reach, scale_);
            }
            shape.mask->Draw(surface_, (shape.reach.topLeft() + QPoint(x, y)) * scale_, colour.rgb(),
                             QRect(drawn.topLeft() * scale_, drawn.size() * scale_));
        } else {
            paint([&](QPainter& painter) {
                for (const QGlyphRun& glyphs : shape.glyphs) {
                    painter.drawGlyphRun(baseline + QPointF(x, y), glyphs);
                }
            });
        }
    } else {
        paint([&](QPainter& painter) {
            painter.setFont(font);
            painter.drawText(x, y + shape.ascent, text);
        });
    }
    damage(drawn);
}

bool SurfaceCanvas::MasksDrawLikePainter(const QList<QGlyphRun>& glyphs, QPointF baseline, QRect reach) {
    if (!masksDrawLikePainter_) {
        masksDrawLikePainter_ = TextMask::DrawsLikePainter(glyphs, baseline, reach, scale_);
    }
    return *masksDrawLikePainter_;
}

const QImage& SurfaceCanvas::image() const {
    endText();
    return surface_;
}

QPainter& SurfaceCanvas::painter() {
    if (!painter_) {
        painter_ = std::make_unique<QPainter>(&surface_);
    }
    return *painter_;
}

void SurfaceCanvas::endText() const {
    painter_.reset();
}

SurfaceCanvas::ShapedText& SurfaceCanvas::shaped(const QFont& font, const QString& text) {
    auto fontTexts = std::find_if(fontTexts_.begin(), fontTexts_.end(),
                                  [&font](const FontTexts& kept) { return kept.font == font; });
    if (fontTexts == fontTexts_.end()) {
        fontTexts = fontTexts_.insert(fontTexts_.end(), FontTexts{font, {}});
    }
    QHash<QString, ShapedText>& texts = fontTexts->texts;
    const auto found = texts.find(text);
    if (found != texts.end()) {
        return *found;
    }
    if (texts.size() >= kKeptTextsPerFont) {
        texts.clear();
    }
    ShapedText shape;
    const QFontMetrics metrics(font);
    shape.ascent = metrics.ascent();
    shape.height = metrics.height();
    shape.advance = metrics.horizontalAdvance(text);
    shape.oneLine = ShapesAsOneLine(text);
    QRectF inked;
    if (shape.oneLine) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        shape.lineAscent = line.ascent();
        shape.glyphs = layout.glyphRuns();
        for (const QGlyphRun& glyphs : shape.glyphs) {
            inked |= glyphs.boundingRect().translated(0, shape.ascent - shape.lineAscent);
        }
    }
    // The cell, and wherever a glyph's ink passes it (an accent above, a tail to the left).
    shape.reach = QRect(0, 0, shape.advance + 1, shape.height);
    if (!inked.isEmpty()) {
        shape.reach |= inked.toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
    }
    return *texts.insert(text, std::move(shape));
}

void SurfaceCanvas::damage(const QRect& rect) {
    if (damaged_) {
        damaged_(rect);
    }
}
