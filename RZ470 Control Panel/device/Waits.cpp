#include "Waits.h"

#include <QThread>

void ThreadWaits::wait(int milliseconds) {
    if (milliseconds > 0) {
        QThread::msleep(static_cast<unsigned long>(milliseconds));
    }
}
