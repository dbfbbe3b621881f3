#pragma once

#include "CBitImage.h"
#include "CBitWnd.h"
#include "SliderGeometry.h"

#include <QCursor>
#include <QSlider>

#include <memory>
#include <optional>

class QPainter;

// The vertical picture slider. QSlider keeps the range and the position (minimum at the top);
// the look comes only from the track pictures and the knob window. A press right of the thumb
// moves the position to the pointer and a drag from there follows it; the parent hears of it
// through SliderChanged on every press and every release, never during the drag.
class CMainSliderCtrl : public QSlider {
    Q_OBJECT

public:
    // The code of a slider nobody gave one: it names no panel position.
    static constexpr int kNoNotifyCode = 0xFFFF;

    explicit CMainSliderCtrl(QWidget* parent = nullptr);
    ~CMainSliderCtrl() override;

    // Creates the knob window from one frame of the picture. Only the first call with a picture
    // does anything.
    void SetThumbBitmap(int bitmapId, int frameWidth, int frameHeight);
    void SetThumbBitmap(CBitImage image);
    // Each track picture shows the whole control; the control takes the leading picture's size.
    void SetTrackBitmaps(CBitImage trailing, CBitImage leading);

    void SetCursor(std::optional<QCursor> cursor);
    void SetThumbOffset(int offset);
    void SetThumbShift(int shift);
    void SetNotifyCode(int code) { m_notifyCode = code; }

    int thumbOffset() const { return m_thumbOffset; }
    int thumbShift() const { return m_thumbShift; }
    int notifyCode() const { return m_notifyCode; }
    // The knob window; null until SetThumbBitmap has run.
    CBitWnd* thumbWindow() const { return m_thumb.get(); }
    SliderGeometry currentGeometry() const;
    // The scale of the pictures for the screen the slider is on.
    int PictureScale() const;
    bool isDragging() const { return m_dragging; }

    // Copies the leading picture above the knob's bottom edge and the trailing picture below it.
    void DrawSlider(QPainter& painter) const;

signals:
    // A press or release landed; the position is final. Sent synchronously.
    void SliderChanged(int notifyCode);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void sliderChange(SliderChange change) override;

private:
    enum class DefaultAction { None, DragThumb };

    bool IsDrawable() const;
    QRect KnobRect(const SliderRect& thumb) const;
    void PlaceThumb();
    void MoveTo(int position);
    void NotifyParent();
    void DefaultPress(QPoint point, bool accepted, const SliderGeometry& atPress);
    void DefaultMove(QMouseEvent* event);
    void DefaultRelease();

    // Declared first so that it goes last: the track pictures, then the knob window.
    std::unique_ptr<CBitWnd> m_thumb;
    std::optional<CBitImage> m_leadingImage;
    std::optional<CBitImage> m_trailingImage;
    std::optional<QCursor> m_cursor;
    int m_thumbOffset = 0;
    bool m_dragging = false;
    SliderRect m_channel;
    int m_thumbShift = 0;
    int m_notifyCode = kNoNotifyCode;

    DefaultAction defaultAction_ = DefaultAction::None;
    int dragOffset_ = 0;
};
