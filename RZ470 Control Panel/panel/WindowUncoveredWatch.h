#pragma once

#include <QObject>
#include <QPointer>

#include <functional>

class QWidget;
class QWindow;

// Tells when the window system shows a window's pixels again: the window uncovered, mapped, or
// restored from minimised. The panel's own repaints only copy its surface and are not told.
class WindowUncoveredWatch : public QObject {
public:
    WindowUncoveredWatch(QWidget& window, std::function<void()> uncovered);

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void WatchHandle();

    QWidget& window_;
    QPointer<QWindow> handle_;
    std::function<void()> uncovered_;
};
