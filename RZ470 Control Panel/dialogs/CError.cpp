#include "CError.h"

#include "PanelArtwork.h"

#include "PanelFont.h"

#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

QList<CError::Line> CError::LinesFor(uint8_t code) {
    switch (code) {
        case AlarmActive:
            return {{QPoint(85, 35), "AlarmActive on LED,"},
                    {QPoint(66, 60), "Proceed to maintenance"},
                    {QPoint(160, 85), "screen"}};
        case LightGuideOut:
            return {{QPoint(60, 35), "Light Guide not inserted"}};
        default:
            return {};
    }
}

CError::CError(QWidget* parent) : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setFixedSize(kWidth, kHeight);
    setModal(true);
}

void CError::CentreOnScreen() {
    const QScreen* screen = parentWidget() ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        move(screen->availableGeometry().center() - rect().center());
    }
}

void CError::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        CentreOnScreen();
    }
    QDialog::showEvent(event);
}

void CError::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // Without the picture the text is still written, over the plain window background.
    const QImage picture = PanelArtwork::picture(kPictureId, devicePixelRatioF());
    if (!picture.isNull()) {
        painter.drawImage(QPoint(0, 0), picture);
    }
    // Made at each paint rather than once: the popup is built with the main dialog, possibly
    // before the panel's typeface is registered, and the size is chosen by measuring that face.
    painter.setFont(PanelFont::withCellHeight(kFontCellHeight));
    painter.setPen(QColor(255, 255, 255));
    for (const Line& line : LinesFor(m_messageCode)) {
        // Placed by the top of the text cell, not by the baseline.
        painter.drawText(QRect(line.topLeft, QSize(kWidth, kHeight)),
                         Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, QString::fromLatin1(line.text));
    }
}

void CError::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && kOkArea.contains(event->position().toPoint())) {
        close();
    }
    QDialog::mousePressEvent(event);
}

void CError::keyPressEvent(QKeyEvent* event) {
    // With no buttons to be the default, Enter has to be handled here; Escape is QDialog's.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
