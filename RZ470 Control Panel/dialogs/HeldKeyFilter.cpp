#include "HeldKeyFilter.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>

HeldKeyFilter::HeldKeyFilter(QWidget& window) : window_(window) {
    // Keys reach a window's widgets through its platform window, once per key event there.
    QCoreApplication::instance()->installEventFilter(this);
}

HeldKeyFilter::~HeldKeyFilter() {
    QCoreApplication::instance()->removeEventFilter(this);
}

bool HeldKeyFilter::eventFilter(QObject* receiver, QEvent* event) {
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || receiver != window_.windowHandle()) {
        return false;
    }
    const auto* key = static_cast<const QKeyEvent*>(event);
    const int code = key->key();
    const quint64 time = key->timestamp();
    if (type == QEvent::KeyRelease) {
        // A repeat's release leaves the key down.
        if (!key->isAutoRepeat()) {
            if (downHere_.remove(code)) {
                heldAtLastRelease_.insert(code);
            } else {
                heldAtLastRelease_.remove(code);
            }
            lastRelease_.insert(code, time);
        }
        return false;
    }
    // A held key repeats as a release and a press of the same time; Qt marks the pair as a
    // repeat when it sees both at once, the time tells it otherwise.
    const bool pairedWithRelease =
        time != 0 && lastRelease_.contains(code) && lastRelease_.value(code) == time;
    const bool repeat = key->isAutoRepeat() || pairedWithRelease;
    const bool heldHere =
        downHere_.contains(code) || (pairedWithRelease && heldAtLastRelease_.contains(code));
    if (!repeat || heldHere) {
        downHere_.insert(code);
        return false;
    }
    return true;
}
