#include "ColourButton.h"

#include <QPainter>

ColourButton::ColourButton(const QString& text, QWidget* parent)
    : QPushButton(text, parent),
      face_(palette().color(QPalette::Button)),
      text_(palette().color(QPalette::ButtonText)) {
    setAutoDefault(false);
    setDefault(false);
}

void ColourButton::SetFaceColour(const QColor& colour) {
    face_ = colour;
    update();
}

void ColourButton::SetTextColour(const QColor& colour) {
    text_ = colour;
    update();
}

void ColourButton::SetPicture(const QImage& picture) {
    picture_ = picture;
    update();
}

void ColourButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect area = rect();
    painter.fillRect(area, face_);

    // A raised edge, sunken while held.
    const bool down = isDown() || isChecked();
    const QColor light = face_.lighter(150);
    const QColor dark = face_.darker(200);
    painter.setPen(down ? dark : light);
    painter.drawLine(area.topLeft(), area.topRight());
    painter.drawLine(area.topLeft(), area.bottomLeft());
    painter.setPen(down ? light : dark);
    painter.drawLine(area.bottomLeft(), area.bottomRight());
    painter.drawLine(area.topRight(), area.bottomRight());

    const QPoint shift = down ? QPoint(1, 1) : QPoint(0, 0);
    if (!picture_.isNull()) {
        const QSize size = picture_.deviceIndependentSize().toSize();
        const QPoint at((width() - size.width()) / 2, (height() - size.height()) / 2);
        painter.drawImage(at + shift, picture_);
    } else {
        painter.setPen(isEnabled() ? text_ : palette().color(QPalette::Disabled, QPalette::ButtonText));
        painter.setFont(font());
        painter.drawText(area.adjusted(2, 1, -2, -1).translated(shift), Qt::AlignCenter | Qt::TextWordWrap,
                         text());
    }
    if (hasFocus()) {
        painter.setPen(QPen(text_, 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(area.adjusted(3, 3, -4, -4));
    }
}
