#pragma once

#include "ComposedTexts.h"

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

class PackedPicture;
class QPainter;

// The target of the drawing primitives: pixels land here at once.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Draws picture id at (x, y), cut to w × h; false (and no pixel changed) when id is no picture.
    virtual bool drawBitmap(int id, int x, int y, int w, int h) = 0;
    // Text with its cell's top-left at (x, y), transparent background, not clipped.
    virtual void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) = 0;
};

// The window's own pixels, kept as the drawings that show on it rather than as an image: the
// window holds the one full copy of its pixels (the window system's buffer), and each repaint
// draws the part asked for again. A picture drawn later over the whole of an earlier drawing
// drops it, so what is kept stays about one screen's worth. Coordinates are the layout's; at
// scale 2 the pictures are the ones drawn at that scale.
class SurfaceCanvas : public Canvas {
public:
    explicit SurfaceCanvas(QSize size, int scale = 1);
    ~SurfaceCanvas() override;
    SurfaceCanvas(const SurfaceCanvas&) = delete;
    SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

    bool drawBitmap(int id, int x, int y, int w, int h) override;
    void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) override;

    // Draws the part area (layout pixels) of the surface with painter, a band at a time, so that
    // no second image of the whole window is ever made.
    void PaintOnto(QPainter& painter, const QRect& area) const;
    // Draws the part of the surface that target covers; target is RGB32 at this scale, its pixel
    // (0, 0) at origin (layout pixels).
    void Render(QImage& target, QPoint origin) const;
    // The whole surface as an image, drawn when asked for (tests and tools).
    const QImage& image() const;
    int scale() const { return scale_; }
    QSize size() const { return size_; }
    // Starts over at another scale, black, with every picture to be loaded again at that scale.
    void setScale(int scale);
    // Called with each changed rectangle, so the window can schedule its repaint.
    void setDamageHandler(std::function<void(const QRect&)> handler) { damaged_ = std::move(handler); }
    // How many drawings are kept to show the surface.
    size_t keptDrawings() const { return drawings_.size(); }

    // More drawings than this, each partly covered, and they are merged into one picture.
    static constexpr size_t kMostKeptDrawings = 1024;

private:
    // A picture as it is kept once decoded: packed, or as decoded where packing would not be exact.
    struct Picture {
        std::unique_ptr<PackedPicture> packed;
        QImage image;
    };

    // A text shaped once in one font: its glyphs, where its line's baseline lies, and its cell.
    struct ShapedText {
        bool oneLine = false;  // shaped as one line of glyphs; otherwise drawn directly
        QList<QGlyphRun> glyphs;
        qreal lineAscent = 0;
        int ascent = 0;
        int height = 0;
        int advance = 0;
        QRect inked;  // every pixel the glyphs may touch, relative to the cell's top-left
    };
    struct FontTexts {
        QFont font;
        QHash<QString, std::shared_ptr<const ShapedText>> texts;
    };

    // A text's area of the picture under it, with the texts drawn there before it and itself.
    struct ComposedText {
        const Picture* base;
        QRect area;  // layout pixels, within the surface
        // The picture, the area's offset on it and each text's place and colour, in drawing order.
        ComposedTexts::Key key;
        std::vector<std::shared_ptr<const ShapedText>> shapes;  // what the key's layers point to
    };
    // Texts under a text that may still be blended with it, counting it.
    static constexpr size_t kMostLayers = 4;

    // One drawing as it is replayed: a picture (or the merged picture) or a text.
    struct Drawing {
        QRect reach;          // the layout pixels it may change
        bool covers = false;  // sets every pixel of reach, whatever lay below
        const Picture* picture = nullptr;
        std::shared_ptr<const PackedPicture> merged;
        QSize source;  // the part of the picture drawn, in its own pixels
        std::shared_ptr<const ShapedText> text;
        QFont font;
        QColor colour;
        QPoint at;
        QString plain;  // the text, for one not shaped as one line
        // For a text whose area shows only one picture and texts drawn on it: what to blend, once.
        std::shared_ptr<const ComposedText> composition;
    };

    // The picture id, decoded at its first use and kept; null when there is none.
    const Picture* picture(int id);
    // text in font, shaped at its first use and kept for a while.
    std::shared_ptr<const ShapedText> shaped(const QFont& font, const QString& text);
    // Keeps a drawing, dropping every earlier one it hides.
    void keep(Drawing drawing);
    // Everything kept, merged into one picture.
    void merge();
    // Draws the part of the surface that target covers, within one repaint.
    void RenderPart(QImage& target, QPoint origin) const;
    // The pixels of a text on its base picture, blended once and kept; null when not kept.
    const PackedPicture* composed(const Drawing& text) const;
    static void DrawTextWith(QPainter& painter, const ShapedText& shape, const QColor& colour, QPoint at,
                             const QFont& font = QFont(), const QString& plain = QString());
    // What text's area shows once it is drawn, when that is a picture and texts alone.
    std::shared_ptr<const ComposedText> composition(const Drawing& text) const;
    void damage(const QRect& rect);

    QSize size_;
    int scale_;
    std::unordered_map<int, std::optional<Picture>> pictures_;
    std::vector<FontTexts> fontTexts_;
    std::vector<Drawing> drawings_;
    mutable ComposedTexts composedTexts_;
    mutable QImage whole_;
    mutable bool wholeCurrent_ = false;
    std::function<void(const QRect&)> damaged_;
};
