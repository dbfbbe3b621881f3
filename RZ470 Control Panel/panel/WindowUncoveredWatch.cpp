#include "WindowUncoveredWatch.h"

#include <QEvent>
#include <QWidget>
#include <QWindow>
#include <QWindowStateChangeEvent>

WindowUncoveredWatch::WindowUncoveredWatch(QWidget& window, std::function<void()> uncovered)
    : window_(window), uncovered_(std::move(uncovered)) {
    window_.installEventFilter(this);
    WatchHandle();
}

void WindowUncoveredWatch::WatchHandle() {
    QWindow* handle = window_.windowHandle();
    if (handle == handle_) {
        return;
    }
    if (handle_) {
        handle_->removeEventFilter(this);
    }
    handle_ = handle;
    if (handle_) {
        handle_->installEventFilter(this);
    }
}

bool WindowUncoveredWatch::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_) {
        if (event->type() == QEvent::Show || event->type() == QEvent::WinIdChange) {
            WatchHandle();
        } else if (event->type() == QEvent::WindowStateChange) {
            const auto* change = static_cast<QWindowStateChangeEvent*>(event);
            if ((change->oldState() & Qt::WindowMinimized) != 0 && !window_.isMinimized()) {
                uncovered_();
            }
        }
    } else if (watched == handle_ && event->type() == QEvent::Expose && handle_->isExposed()) {
        // The window system asks for pixels it no longer has.
        uncovered_();
    }
    return QObject::eventFilter(watched, event);
}
