#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QString>

#include <functional>

// The target of the drawing primitives: pixels land here at once.
class Canvas {
public:
    virtual ~Canvas() = default;
    // Draws picture id at (x, y), cut to w × h; false (and no pixel changed) when id is no picture.
    virtual bool drawBitmap(int id, int x, int y, int w, int h) = 0;
    // Text with its cell's top-left at (x, y), transparent background, not clipped.
    virtual void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) = 0;
};

// The window's own pixels: one image the dialog copies to the screen in its paint handler.
class SurfaceCanvas : public Canvas {
public:
    explicit SurfaceCanvas(QSize size);

    bool drawBitmap(int id, int x, int y, int w, int h) override;
    void drawText(const QFont& font, const QColor& colour, int x, int y, const QString& text) override;

    const QImage& image() const { return surface_; }
    // Called with each changed rectangle, so the window can schedule its repaint.
    void setDamageHandler(std::function<void(const QRect&)> handler) { damaged_ = std::move(handler); }

private:
    void damage(const QRect& rect);

    QImage surface_;
    std::function<void(const QRect&)> damaged_;
};
