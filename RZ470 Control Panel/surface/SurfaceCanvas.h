#pragma once

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
class TextMask;
class QPainter;

// The window's own pixels: one image the dialog copies to the screen in its paint handler. The
// drawing primitives write into it at once. Its coordinates are the layout's; at scale 2 it holds
// twice the pixels each way, and the pictures are the ones drawn at that scale.
class SurfaceCanvas {
public:
    explicit SurfaceCanvas(QSize size, int scale = 1);
    ~SurfaceCanvas();
    SurfaceCanvas(const SurfaceCanvas&) = delete;
    SurfaceCanvas& operator=(const SurfaceCanvas&) = delete;

    // Draws picture id at (x, y), cut to w × h (to the picture's edge where w or h is not above 0);
    // false, and no pixel changed, when id is no picture.
    bool drawBitmap(int id, int x, int y, int w, int h);
    // Text with its cell's top-left at (x, y), transparent background, not clipped.
    void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) {
        drawText(font, colour, x, y, text, QRect(QPoint(0, 0), size_));
    }
    // The same, cut to box (layout pixels): no pixel outside it changes.
    void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text,
                  const QRect& box);

    // The pixels as they stand. Texts are written through a painter kept open from one text to the
    // next; it is ended here, so that a copy taken of the image is never written to afterwards.
    const QImage& image() const;
    int scale() const { return scale_; }
    QSize size() const { return size_; }
    // Starts over at another scale, black, with every picture to be loaded again at that scale.
    void setScale(int scale);
    // Called with each changed rectangle (layout pixels), so the window can schedule its repaint.
    void setDamageHandler(std::function<void(const QRect&)> handler) { damaged_ = std::move(handler); }

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
        QRect reach;  // every pixel the text may touch, relative to its cell's top-left
        int draws = 0;
        std::shared_ptr<const TextMask> mask;  // made when drawn often enough in an opaque colour
    };
    struct FontTexts {
        QFont font;
        QHash<QString, ShapedText> texts;
    };

    // The picture id, decoded at its first use and kept; null when there is none.
    const Picture* picture(int id);
    // text in font, shaped at its first use and kept for a while.
    ShapedText& shaped(const QFont& font, const QString& text);
    // Whether texts are drawn from their masks here: once per scale, a text drawn both ways must
    // come out the same (a painter that corrects its blend for gamma would not).
    bool MasksDrawLikePainter(const QList<QGlyphRun>& glyphs, QPointF baseline, QRect reach);
    // The painter on the surface for texts and unpacked pictures, opened at the first and kept open.
    QPainter& painter();
    void damage(const QRect& rect);
    void endText() const;

    QSize size_;
    int scale_;
    QImage surface_;
    mutable std::unique_ptr<QPainter> painter_;
    std::unordered_map<int, std::optional<Picture>> pictures_;
    std::vector<FontTexts> fontTexts_;
    std::function<void(const QRect&)> damaged_;
    std::optional<bool> masksDrawLikePainter_;
};
