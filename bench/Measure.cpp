#include "Measure.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <algorithm>
#include <ctime>

namespace bench {

double FastestNanoseconds(const std::function<void()>& work, int minBatchMs) {
    // Warm up and find how many calls fill a batch.
    int rounds = 1;
    for (;;) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rounds; ++i) {
            work();
        }
        if (timer.elapsed() >= minBatchMs || rounds >= (1 << 20)) {
            break;
        }
        rounds *= 2;
    }
    double fastest = 0;
    for (int batch = 0; batch < 11; ++batch) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rounds; ++i) {
            work();
        }
        const double perCall = static_cast<double>(timer.nsecsElapsed()) / rounds;
        fastest = batch == 0 ? perCall : std::min(fastest, perCall);
    }
    return fastest;
}

int64_t ProcessCpuNanoseconds() {
    timespec used{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &used);
    return static_cast<int64_t>(used.tv_sec) * 1000000000 + used.tv_nsec;
}

long PeakResidentKilobytes() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return -1;
    }
    for (;;) {
        const QByteArray line = status.readLine();
        if (line.isEmpty()) {
            return -1;
        }
        if (line.startsWith("VmHWM:")) {
            return line.mid(6).trimmed().split(' ').first().toLong();
        }
    }
}

namespace {

class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget) : widget_(widget) { widget_.installEventFilter(this); }
    ~PaintWatch() override { widget_.removeEventFilter(this); }
    bool seen = false;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &widget_ && event->type() == QEvent::Paint) {
            seen = true;
        }
        return false;
    }

private:
    QWidget& widget_;
};

}  // namespace

bool WaitUntilPainted(QWidget& widget, int timeoutMs) {
    PaintWatch watch(widget);
    QElapsedTimer timer;
    timer.start();
    // The flag is read after processEvents returns, so the paint handler has finished.
    while (!watch.seen && timer.elapsed() < timeoutMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    }
    return watch.seen;
}

}  // namespace bench
