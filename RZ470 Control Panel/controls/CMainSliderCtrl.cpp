#include "CMainSliderCtrl.h"

#include "PanelArtwork.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

// What the standard trackbar would do with the input the picture slider leaves to it:
// - A press on the thumb (its rectangle, or the knob picture drawn over it) drags the thumb and
//   keeps the distance between the pointer and the thumb's centre.
// - An accepted press has just put the thumb under the pointer (or found it level there), so it
//   counts as a press on the thumb's centre: when a drag leaves the channel, the thumb keeps
//   following the pointer and stops at the end of the range, instead of where the pointer left.
// - Any other press moves the position one page, a fifth of the range, toward the pointer. It
//   does so once, without auto-repeat, so the position never changes after the release has been
//   reported to the parent.
// - Moves drag the thumb while such a drag is on and the left button is down; the release ends it.
// None of this tells the parent anything; the press and release handlers do.
namespace {

constexpr int kPagesPerRange = 5;

int ThumbCentre(const SliderRect& thumb) {
    return thumb.top + (thumb.bottom - thumb.top) / 2;
}

}  // namespace

CMainSliderCtrl::CMainSliderCtrl(QWidget* parent) : QSlider(Qt::Vertical, parent) {}

CMainSliderCtrl::~CMainSliderCtrl() = default;

void CMainSliderCtrl::SetThumbBitmap(int bitmapId, int frameWidth, int frameHeight) {
    if (m_thumb || bitmapId == 0) {
        return;
    }
    SetThumbBitmap(CBitImage(bitmapId, frameWidth, frameHeight, PictureScale()));
}

void CMainSliderCtrl::SetThumbBitmap(CBitImage image) {
    if (m_thumb) {
        return;
    }
    const QSize frame(image.frameWidth(), image.frameHeight());
    m_thumb = std::make_unique<CBitWnd>(this);
    m_thumb->SetImage(std::move(image));
    m_thumb->setGeometry(QRect(QPoint(0, 0), frame));
    m_thumb->m_forwardMouse = true;
    PlaceThumb();
}

void CMainSliderCtrl::SetTrackBitmaps(CBitImage trailing, CBitImage leading) {
    m_trailingImage = std::move(trailing);
    m_leadingImage = std::move(leading);
    resize(m_leadingImage->size());
    raise();
    PlaceThumb();
    update();
}

void CMainSliderCtrl::SetCursor(std::optional<QCursor> cursor) {
    m_cursor = std::move(cursor);
    if (m_cursor) {
        setCursor(*m_cursor);
    } else {
        unsetCursor();
    }
}

void CMainSliderCtrl::SetThumbOffset(int offset) {
    m_thumbOffset = offset;
    PlaceThumb();
}

void CMainSliderCtrl::SetThumbShift(int shift) {
    m_thumbShift = shift;
    PlaceThumb();
}

int CMainSliderCtrl::PictureScale() const {
    return PanelArtwork::pictureScale(devicePixelRatioF());
}

SliderGeometry CMainSliderCtrl::currentGeometry() const {
    return SliderGeometry::At(size(), minimum(), maximum(), value());
}

bool CMainSliderCtrl::IsDrawable() const {
    return m_thumb && m_leadingImage && m_trailingImage;
}

QRect CMainSliderCtrl::KnobRect(const SliderRect& thumb) const {
    return SliderGeometry::KnobRect(thumb, m_thumb->size(), m_thumbOffset, m_thumbShift);
}

void CMainSliderCtrl::PlaceThumb() {
    if (!IsDrawable()) {
        return;
    }
    const QRect knob = KnobRect(currentGeometry().thumb);
    if (m_thumb->geometry() != knob) {
        m_thumb->setGeometry(knob);
    }
    m_thumb->update();
}

void CMainSliderCtrl::DrawSlider(QPainter& painter) const {
    if (!IsDrawable()) {
        return;
    }
    const QRect knob = KnobRect(currentGeometry().thumb);
    const int split = std::clamp(knob.top() + knob.height(), 0, height());
    painter.save();
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const QRect above(0, 0, width(), split);
    const QRect below(0, split, width(), height() - split);
    painter.drawImage(QRectF(above), m_leadingImage->image(), m_leadingImage->pixels(above));
    painter.drawImage(QRectF(below), m_trailingImage->image(), m_trailingImage->pixels(below));
    painter.restore();
}

void CMainSliderCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    DrawSlider(painter);
}

void CMainSliderCtrl::MoveTo(int position) {
    setValue(position);
    update();
}

void CMainSliderCtrl::NotifyParent() {
    emit SliderChanged(m_notifyCode);
}

void CMainSliderCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const SliderGeometry atPress = currentGeometry();
    const bool accepted = SliderGeometry::AcceptsPress(atPress.thumb, point.x());
    if (accepted) {
        m_dragging = true;
        m_channel = atPress.channel;
        if (!SliderGeometry::IsLevelWithThumb(atPress.thumb, point.y())) {
            MoveTo(SliderGeometry::PositionAt(m_channel, minimum(), maximum(), point.y()));
        }
    }
    // The default handling may page, so it runs first: the parent then reads the position the
    // press produced.
    DefaultPress(point, accepted, atPress);
    NotifyParent();
}

void CMainSliderCtrl::mouseMoveEvent(QMouseEvent* event) {
    const int y = event->position().toPoint().y();
    const bool inChannel = y >= m_channel.top && y <= m_channel.bottom;
    if (IsDrawable() && inChannel && (event->buttons() & Qt::LeftButton) && m_dragging) {
        // No offset from the press point: the thumb goes to the pointer.
        MoveTo(SliderGeometry::PositionAt(m_channel, minimum(), maximum(), y));
        return;
    }
    DefaultMove(event);
}

void CMainSliderCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    update();
    m_dragging = false;
    DefaultRelease();
    NotifyParent();
}

void CMainSliderCtrl::wheelEvent(QWheelEvent* event) {
    event->accept();
}

void CMainSliderCtrl::keyPressEvent(QKeyEvent* event) {
    // Only the pointer sets the position, because only the pointer tells the parent. Keys that
    // would move a slider are swallowed; the rest go on to the parent (Escape, Return).
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            event->accept();
            break;
        default:
            event->ignore();
            break;
    }
}

void CMainSliderCtrl::resizeEvent(QResizeEvent* event) {
    QSlider::resizeEvent(event);
    PlaceThumb();
}

void CMainSliderCtrl::sliderChange(SliderChange change) {
    QSlider::sliderChange(change);
    PlaceThumb();
}

void CMainSliderCtrl::DefaultPress(QPoint point, bool accepted, const SliderGeometry& atPress) {
    const SliderRect& thumb = atPress.thumb;
    const bool onKnob = m_thumb && !m_thumb->isHidden() && m_thumb->geometry().contains(point);
    if (accepted) {
        defaultAction_ = DefaultAction::DragThumb;
        dragOffset_ = 0;
    } else if (thumb.contains(point.x(), point.y()) || onKnob) {
        defaultAction_ = DefaultAction::DragThumb;
        dragOffset_ = point.y() - ThumbCentre(thumb);
    } else if (!SliderGeometry::IsLevelWithThumb(thumb, point.y())) {
        const int page = std::max(1, (maximum() - minimum()) / kPagesPerRange);
        MoveTo(value() + (point.y() < thumb.top ? -page : page));
    }
}

void CMainSliderCtrl::DefaultMove(QMouseEvent* event) {
    if (defaultAction_ != DefaultAction::DragThumb || !(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const int y = event->position().toPoint().y() - dragOffset_;
    MoveTo(SliderGeometry::PositionOfThumbAt(size(), minimum(), maximum(), y));
}

void CMainSliderCtrl::DefaultRelease() {
    defaultAction_ = DefaultAction::None;
}
