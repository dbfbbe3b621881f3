#include "Canvas.h"

#include "PackedPicture.h"
#include "PanelArtwork.h"

#include <QFontMetrics>
#include <QPainter>
#include <QRegion>
#include <QResource>
#include <QTextLayout>

#include <algorithm>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace {

// The texts kept per font; the values shown change, so the oldest are dropped all at once.
constexpr qsizetype kKeptTextsPerFont = 256;

// Layout rows drawn at a time when the window repaints: the band is the only image made for it.
constexpr int kBandRows = 48;

// A glyph's box is rounded to whole pixels; its placement may move it by part of one.
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

}  // namespace

SurfaceCanvas::SurfaceCanvas(QSize size, int scale)
    : size_(size), scale_(std::clamp(scale, 1, PanelArtwork::kLargestScale)) {}

SurfaceCanvas::~SurfaceCanvas() = default;

void SurfaceCanvas::setScale(int scale) {
    scale = std::clamp(scale, 1, PanelArtwork::kLargestScale);
    if (scale == scale_) {
        return;
    }
    scale_ = scale;
    drawings_.clear();
    composedTexts_.Clear();
    pictures_.clear();
    whole_ = QImage();
    wholeCurrent_ = false;
    damage(QRect(QPoint(0, 0), size_));
}

const SurfaceCanvas::Picture* SurfaceCanvas::picture(int id) {
    auto found = pictures_.find(id);
    if (found == pictures_.end()) {
        std::optional<Picture> kept;
        // The generated pictures are packed straight from the file's bytes; anything else goes
        // through the image reader first. A picture missing at this scale is drawn from the
        // one at scale 1, enlarged.
        for (const int scale : {scale_, 1}) {
            const QString path = PanelArtwork::bitmapPath(id, scale);
            const QResource resource(path);
            std::optional<PackedPicture> packed = PackedPicture::FromBitmapFile(resource.uncompressedData());
            QImage decoded;
            if (!packed) {
                decoded = QImage(path);
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
#if defined(__GLIBC__)
        // The file's bytes, up to 1.8 MB for the background, were only needed for the packing;
        // their pages go back to the system now rather than stay in the process's heap.
        malloc_trim(0);
#endif
    }
    return found->second ? &*found->second : nullptr;
}

bool SurfaceCanvas::drawBitmap(int id, int x, int y, int w, int h) {
    const Picture* picture = this->picture(id);
    if (picture == nullptr) {
        return false;
    }
    const QRect target(x, y, w, h);
    Drawing drawing;
    drawing.picture = picture;
    if (picture->packed) {
        // As QPainter takes a source of no width or height: to the picture's edge.
        const QSize size = picture->packed->size();
        drawing.source =
            QSize(w > 0 ? w * scale_ : size.width(), h > 0 ? h * scale_ : size.height()).boundedTo(size);
        // A part ending inside a layout pixel still sets every device pixel it reaches.
        drawing.reach = QRect(target.topLeft(), LayoutPixels(drawing.source, scale_));
        drawing.covers = drawing.source.width() % scale_ == 0 && drawing.source.height() % scale_ == 0;
    } else {
        const qreal ratio = picture->image.devicePixelRatio();
        drawing.source = QSize(qRound(w * ratio), qRound(h * ratio));
        // Blended, and perhaps enlarged with smoothing: it may reach a pixel past its place.
        const QSize whole = picture->image.deviceIndependentSize().toSize();
        drawing.reach = QRect(target.topLeft(), QSize(w > 0 ? w : whole.width(), h > 0 ? h : whole.height()))
                            .adjusted(-1, -1, 1, 1);
    }
    drawing.at = target.topLeft();
    keep(std::move(drawing));
    damage(target);
    return true;
}

void SurfaceCanvas::drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) {
    Drawing drawing;
    drawing.text = shaped(font, text);
    drawing.font = font;
    drawing.colour = colour;
    drawing.at = QPoint(x, y);
    drawing.reach = drawing.text->oneLine ? drawing.text->inked.translated(x, y) : QRect(QPoint(0, 0), size_);
    if (!drawing.text->oneLine) {
        drawing.plain = text;
    }
    const QRect cell(x, y, drawing.text->advance + 1, drawing.text->height);
    keep(std::move(drawing));
    damage(cell);
}

void SurfaceCanvas::keep(Drawing drawing) {
    const QRect bounds(QPoint(0, 0), size_);
    if (!drawing.reach.intersects(bounds)) {
        return;
    }
    if (drawing.covers) {
        const QRect hidden = drawing.reach;
        drawings_.erase(std::remove_if(drawings_.begin(), drawings_.end(),
                                       [&hidden, &bounds](const Drawing& earlier) {
                                           return hidden.contains(earlier.reach.intersected(bounds));
                                       }),
                        drawings_.end());
    }
    if (drawing.text && drawing.text->oneLine) {
        drawing.composition = composition(drawing);
    }
    drawings_.push_back(std::move(drawing));
    wholeCurrent_ = false;
    if (drawings_.size() > kMostKeptDrawings) {
        merge();
    }
}

void SurfaceCanvas::merge() {
    QImage merged(size_ * scale_, QImage::Format_RGB32);
    Render(merged, QPoint(0, 0));
    std::optional<PackedPicture> packed = PackedPicture::Pack(merged);
    if (!packed) {
        return;
    }
    Drawing drawing;
    drawing.merged = std::make_shared<const PackedPicture>(std::move(*packed));
    drawing.source = size_ * scale_;
    drawing.reach = QRect(QPoint(0, 0), size_);
    drawing.covers = true;
    drawings_.clear();
    drawings_.push_back(std::move(drawing));
}

void SurfaceCanvas::RenderPart(QImage& target, QPoint origin) const {
    target.setDevicePixelRatio(scale_);
    const QRect area(origin, LayoutPixels(target.size(), scale_));
    // Nothing drawn before the last picture that covers all of area shows in it; the surface
    // is black where nothing was drawn.
    auto first = std::find_if(drawings_.rbegin(), drawings_.rend(), [&area](const Drawing& drawing) {
                     return drawing.covers && drawing.reach.contains(area);
                 }).base();
    if (first == drawings_.begin()) {
        target.fill(Qt::black);
    } else {
        --first;
    }
    // Packed pictures are copied straight into the pixels; texts and unpacked pictures go through
    // one painter, opened at the first of them and kept open to the end.
    const PackedPicture::Pixels pixels(target);
    std::unique_ptr<QPainter> painter;
    const auto openPainter = [&]() -> QPainter& {
        if (!painter) {
            painter = std::make_unique<QPainter>(&target);
            painter->translate(-origin);
        }
        return *painter;
    };
    const auto packedOf = [](const Drawing& drawing) -> const PackedPicture* {
        return drawing.merged               ? drawing.merged.get()
               : drawing.picture != nullptr ? drawing.picture->packed.get()
                                            : nullptr;
    };
    // A packed picture is copied only where no later picture covers it: the background under the
    // panels would otherwise be copied only to be overwritten.
    std::vector<QRegion> shown(static_cast<size_t>(drawings_.end() - first));
    QRegion coveredLater;
    for (auto drawing = drawings_.end(); drawing != first;) {
        --drawing;
        const QRect part = drawing->reach.intersected(area);
        if (part.isEmpty()) {
            continue;
        }
        if (packedOf(*drawing) != nullptr) {
            shown[static_cast<size_t>(drawing - first)] = QRegion(part).subtracted(coveredLater);
        }
        if (drawing->covers) {
            coveredLater += part;
        }
    }
    for (auto drawing = first; drawing != drawings_.end(); ++drawing) {
        if (!drawing->reach.intersects(area)) {
            continue;
        }
        if (const PackedPicture* packed = packedOf(*drawing)) {
            const QPoint at = (drawing->at - origin) * scale_;
            const QRect source(QPoint(0, 0), drawing->source);
            for (const QRect& part : shown[static_cast<size_t>(drawing - first)]) {
                const QRect place((part.topLeft() - origin) * scale_, part.size() * scale_);
                packed->DrawInto(pixels, place.topLeft(), source.intersected(place.translated(-at)));
            }
        } else if (drawing->picture != nullptr) {
            openPainter().drawImage(QPointF(drawing->at), drawing->picture->image,
                                    QRectF(QPointF(0, 0), QSizeF(drawing->source)));
        } else if (const PackedPicture* text = composed(*drawing)) {
            const QRect& textArea = drawing->composition->area;
            text->DrawInto(pixels, (textArea.topLeft() - origin) * scale_,
                           QRect(QPoint(0, 0), textArea.size() * scale_));
        } else {
            DrawTextWith(openPainter(), *drawing->text, drawing->colour, drawing->at, drawing->font,
                         drawing->plain);
        }
    }
}

void SurfaceCanvas::DrawTextWith(QPainter& painter, const ShapedText& shape, const QColor& colour, QPoint at,
                                 const QFont& font, const QString& plain) {
    painter.setPen(colour);
    if (shape.oneLine) {
        // The glyphs' baseline lands where drawText puts it: the cell's top plus the ascent.
        const QPointF glyphOrigin(at.x(), at.y() + shape.ascent - shape.lineAscent);
        for (const QGlyphRun& glyphs : shape.glyphs) {
            painter.drawGlyphRun(glyphOrigin, glyphs);
        }
    } else {
        painter.setFont(font);
        painter.drawText(at.x(), at.y() + shape.ascent, plain);
    }
}

std::shared_ptr<const SurfaceCanvas::ComposedText> SurfaceCanvas::composition(const Drawing& text) const {
    // Back from the text, through the drawings its area meets: texts, up to a picture covering all
    // of the area. Anything else there, and the text is blended each time it is drawn.
    const QRect area = text.reach.intersected(QRect(QPoint(0, 0), size_));
    std::vector<const Drawing*> texts{&text};
    for (auto earlier = drawings_.rbegin(); earlier != drawings_.rend(); ++earlier) {
        if (!earlier->reach.intersects(area)) {
            continue;
        }
        if (earlier->covers && earlier->picture != nullptr && earlier->picture->packed &&
            earlier->reach.contains(area)) {
            auto composed = std::make_shared<ComposedText>();
            composed->base = earlier->picture;
            composed->area = area;
            composed->key.picture = earlier->picture;
            composed->key.offset = area.topLeft() - earlier->at;
            for (auto layer = texts.rbegin(); layer != texts.rend(); ++layer) {
                const Drawing& drawn = **layer;
                composed->shapes.push_back(drawn.text);
                composed->key.layers.push_back(
                    {drawn.text.get(), drawn.at - area.topLeft(), drawn.colour.rgba()});
            }
            return composed;
        }
        if (!earlier->text || !earlier->text->oneLine || texts.size() == kMostLayers) {
            return nullptr;
        }
        texts.push_back(&*earlier);
    }
    return nullptr;
}

const PackedPicture* SurfaceCanvas::composed(const Drawing& text) const {
    if (!text.composition) {
        return nullptr;
    }
    const ComposedText& composition = *text.composition;
    if (const PackedPicture* kept = composedTexts_.Find(composition.key)) {
        return kept;
    }
    const QRect& area = composition.area;
    if (!composedTexts_.HasRoomFor(static_cast<size_t>(area.width()) * area.height() * scale_ * scale_ * 4)) {
        return nullptr;
    }
    // The area of the picture and the texts blended onto it in turn, exactly as a repaint would.
    QImage pixels(area.size() * scale_, QImage::Format_RGB32);
    pixels.setDevicePixelRatio(scale_);
    const PackedPicture& base = *composition.base->packed;
    // The key's offset is where the area lies on the picture.
    base.DrawInto(pixels, -composition.key.offset * scale_, QRect(QPoint(0, 0), base.size()));
    {
        QPainter painter(&pixels);
        painter.translate(-area.topLeft());
        for (size_t i = 0; i < composition.shapes.size(); ++i) {
            const ComposedTexts::Layer& layer = composition.key.layers[i];
            DrawTextWith(painter, *composition.shapes[i], QColor::fromRgba(layer.colour),
                         area.topLeft() + layer.at);
        }
    }
    std::optional<PackedPicture> packed = PackedPicture::Pack(pixels);
    return packed ? composedTexts_.Add(composition.key, std::move(*packed), text.composition) : nullptr;
}

void SurfaceCanvas::Render(QImage& target, QPoint origin) const {
    composedTexts_.NextPass();
    RenderPart(target, origin);
}

void SurfaceCanvas::PaintOnto(QPainter& painter, const QRect& area) const {
    composedTexts_.NextPass();
    const QRect shown = area.intersected(QRect(QPoint(0, 0), size_));
    if (shown.isEmpty()) {
        return;
    }
    QImage band(QSize(shown.width(), std::min(kBandRows, shown.height())) * scale_, QImage::Format_RGB32);
    for (int top = shown.top(); top <= shown.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, shown.bottom() + 1 - top);
        if (rows * scale_ != band.height()) {
            band = QImage(QSize(shown.width(), rows) * scale_, QImage::Format_RGB32);
        }
        RenderPart(band, QPoint(shown.left(), top));
        painter.drawImage(QRectF(shown.left(), top, shown.width(), rows), band,
                          QRectF(QPointF(0, 0), QSizeF(band.size())));
    }
}

const QImage& SurfaceCanvas::image() const {
    if (!wholeCurrent_) {
        if (whole_.size() != size_ * scale_) {
            whole_ = QImage(size_ * scale_, QImage::Format_RGB32);
        }
        Render(whole_, QPoint(0, 0));
        wholeCurrent_ = true;
    }
    return whole_;
}

std::shared_ptr<const SurfaceCanvas::ShapedText> SurfaceCanvas::shaped(const QFont& font,
                                                                       const QString& text) {
    auto fontTexts = std::find_if(fontTexts_.begin(), fontTexts_.end(),
                                  [&font](const FontTexts& kept) { return kept.font == font; });
    if (fontTexts == fontTexts_.end()) {
        fontTexts = fontTexts_.insert(fontTexts_.end(), FontTexts{font, {}});
    }
    QHash<QString, std::shared_ptr<const ShapedText>>& texts = fontTexts->texts;
    const auto found = texts.constFind(text);
    if (found != texts.constEnd()) {
        return *found;
    }
    if (texts.size() >= kKeptTextsPerFont) {
        texts.clear();
    }
    auto shape = std::make_shared<ShapedText>();
    const QFontMetrics metrics(font);
    shape->ascent = metrics.ascent();
    shape->height = metrics.height();
    shape->advance = metrics.horizontalAdvance(text);
    shape->oneLine = ShapesAsOneLine(text);
    QRectF inked;
    if (shape->oneLine) {
        QTextLayout layout(text, font);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        shape->lineAscent = line.ascent();
        shape->glyphs = layout.glyphRuns();
        for (const QGlyphRun& glyphs : shape->glyphs) {
            inked |= glyphs.boundingRect().translated(0, shape->ascent - shape->lineAscent);
        }
    }
    shape->inked = inked.toAlignedRect().adjusted(-kInkMargin, -kInkMargin, kInkMargin, kInkMargin);
    return *texts.insert(text, std::move(shape));
}

void SurfaceCanvas::damage(const QRect& rect) {
    if (damaged_) {
        damaged_(rect);
    }
}
