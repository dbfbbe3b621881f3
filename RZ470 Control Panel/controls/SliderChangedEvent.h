#pragma once

#include <QEvent>

// Sent by a CMainSliderCtrl to its parent on every press and release, after the position is
// final. The parent reads the position from the slider itself. The number keeps the application
// message's offset (0x8002 above the first application message) above QEvent::User, so the type is
// fixed and needs no registration; receivers see it in customEvent().
inline constexpr QEvent::Type kSliderChangedEventType =
    static_cast<QEvent::Type>(QEvent::User + 0x8002 - 0x8000);

class SliderChangedEvent : public QEvent {
public:
    explicit SliderChangedEvent(int notifyCode) : QEvent(kSliderChangedEventType), notifyCode_(notifyCode) {}

    int notifyCode() const { return notifyCode_; }

private:
    int notifyCode_;
};
