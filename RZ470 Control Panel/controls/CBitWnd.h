#pragma once

#include "CBitImage.h"

#include <QWidget>

#include <optional>

class QMouseEvent;

// A borderless child window showing one frame of a CBitImage, with the frame rules of a picture
// button: 0 normal, 1 hovered, 2 pressed or latched. It can hand its pointer input on to its
// parent, which is how the slider's knob passes presses and drags to the slider. Until it is
// given an image it shows nothing.
class CBitWnd : public QWidget {
    Q_OBJECT

public:
    explicit CBitWnd(QWidget* parent = nullptr);

    void SetImage(CBitImage image);
    const CBitImage& image() const { return m_image; }

    void SetCursor(std::optional<QCursor> cursor);

    int frame() const { return m_frame; }

    // Set by the owner as it needs them.
    bool m_toggle = false;         // each press flips the latched state
    bool m_forwardMouse = false;   // moves, presses and releases also go to the parent
    bool m_notifyOnPress = false;  // command() on press instead of on release

    void OnMouseHover();
    void OnMouseLeave();

signals:
    // The picture button's command.
    void command();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void ShowFrame(int frame);
    void ForwardToParent(QMouseEvent* event);

    int m_frame = 0;
    CBitImage m_image;
    std::optional<QCursor> m_cursor;
    bool m_latched = false;
    bool m_tracking = false;
};
