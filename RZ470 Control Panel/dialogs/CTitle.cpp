#include "CTitle.h"

#include "PanelArtwork.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

CTitle::CTitle(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus) {
    // A thin edge around the picture, as a static frame would draw.
    setFixedSize(kWidth + 2, kHeight + 2);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CTitle::ShowCentred() {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect available = screen->availableGeometry();
        move(available.center() - rect().center());
    }
    show();
}

void CTitle::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), QColor(96, 96, 96));
    const QImage picture = PanelArtwork::picture(kPictureId, devicePixelRatioF());
    if (picture.isNull()) {
        painter.fillRect(rect().adjusted(1, 1, -1, -1), Qt::white);
        return;
    }
    painter.drawImage(QPoint(1, 1), picture);
}
