#include "CBitWnd.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

CBitWnd::CBitWnd(QWidget* parent) : QWidget(parent) {
    // Hover is detected from plain pointer movement, so moves must arrive without a button.
    setMouseTracking(true);
    if (parent != nullptr) {
        show();
    }
}

void CBitWnd::SetImage(CBitImage image) {
    m_image = std::move(image);
    update();
}

void CBitWnd::SetCursor(std::optional<QCursor> cursor) {
    m_cursor = std::move(cursor);
    if (m_cursor) {
        setCursor(*m_cursor);
    } else {
        unsetCursor();
    }
}

void CBitWnd::ShowFrame(int frame) {
    // A rule may name a state the strip has no picture for (a latched two-frame strip asks for
    // frame 2); showing the last frame it has beats showing nothing at all.
    m_frame = std::max(0, std::min(frame, m_image.frameCount() - 1));
    update();
}

void CBitWnd::paintEvent(QPaintEvent*) {
    const QRect source = m_image.frameSource(m_frame);
    if (source.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(QPointF(0, 0), m_image.image(), m_image.pixels(source));
}

void CBitWnd::OnMouseHover() {
    const int frames = m_image.frameCount();
    ShowFrame(m_latched ? 2 : (frames > 1 ? 1 : 0));
}

void CBitWnd::OnMouseLeave() {
    const int frames = m_image.frameCount();
    ShowFrame(m_latched && frames > 1 ? 2 : 0);
    m_tracking = false;
}

void CBitWnd::mouseMoveEvent(QMouseEvent* event) {
    const bool firstMoveOfVisit = !m_tracking;
    m_tracking = true;
    if (m_forwardMouse) {
        ForwardToParent(event);
    }
    // The hover time is 1 ms, so the hover comes with the first movement of each visit.
    if (firstMoveOfVisit) {
        OnMouseHover();
    }
}

void CBitWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    const int frames = m_image.frameCount();
    ShowFrame(m_latched ? 0 : (frames > 2 ? 2 : 0));
    if (m_toggle) {
        m_latched = !m_latched;
    }
    if (m_notifyOnPress) {
        emit command();
    }
    if (m_forwardMouse) {
        ForwardToParent(event);
    }
}

void CBitWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    if (!m_latched) {
        const int frames = m_image.frameCount();
        ShowFrame(frames > 1 ? 1 : 0);
    }
    if (!m_notifyOnPress) {
        emit command();
    }
    if (m_forwardMouse) {
        ForwardToParent(event);
    }
}

void CBitWnd::leaveEvent(QEvent*) {
    // Leave is only of interest once a visit was noticed by a movement.
    if (m_tracking) {
        OnMouseLeave();
    }
}

void CBitWnd::ForwardToParent(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (parent == nullptr) {
        return;
    }
    const QPointF inParent = parent->mapFromGlobal(mapToGlobal(event->position()));
    QMouseEvent forwarded(event->type(), inParent, event->scenePosition(), event->globalPosition(),
                          event->button(), event->buttons(), event->modifiers(), event->pointingDevice());
    QCoreApplication::sendEvent(parent, &forwarded);
}
