#include "Measure.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QWidget>

#include <algorithm>
#include <ctime>

namespace bench {

namespace {

// Warms work up and finds how many calls fill a batch of minBatchMs.
int RoundsFor(const std::function<void()>& work, int minBatchMs) {
    int rounds = 1;
    for (;;) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rounds; ++i) {
            work();
        }
        QCoreApplication::processEvents();
        if (timer.elapsed() >= minBatchMs || rounds >= (1 << 20)) {
            break;
        }
        rounds *= 2;
    }
    return rounds;
}

int64_t ThreadCpuNanoseconds() {
    timespec used{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
    return static_cast<int64_t>(used.tv_sec) * 1000000000 + used.tv_nsec;
}

// The time this thread ran, not the wall clock: what other processes take of the cores does not
// count. Afterwards the events the work posted are handled, as the panel's event loop would between
// two paints; left queued, they would make every later post slower.
double BatchNanoseconds(const std::function<void()>& work, int rounds) {
    const int64_t start = ThreadCpuNanoseconds();
    for (int i = 0; i < rounds; ++i) {
        work();
    }
    const double perCall = static_cast<double>(ThreadCpuNanoseconds() - start) / rounds;
    QCoreApplication::processEvents();
    return perCall;
}

}  // namespace

double FastestNanoseconds(const std::function<void()>& work, int minBatchMs) {
    const int rounds = RoundsFor(work, minBatchMs);
    double fastest = 0;
    for (int batch = 0; batch < 11; ++batch) {
        const double perCall = BatchNanoseconds(work, rounds);
        fastest = batch == 0 ? perCall : std::min(fastest, perCall);
    }
    return fastest;
}

Paired AgainstBaseline(const std::function<void()>& work, const std::function<void()>& baseline) {
    constexpr int kBatchMs = 5;
    const int workRounds = RoundsFor(work, kBatchMs);
    const int baselineRounds = RoundsFor(baseline, kBatchMs);
    Paired paired{};
    for (int pair = 0; pair < 21; ++pair) {
        const double workNs = BatchNanoseconds(work, workRounds);
        const double baselineNs = BatchNanoseconds(baseline, baselineRounds);
        paired.workNs = pair == 0 ? workNs : std::min(paired.workNs, workNs);
        paired.baselineNs = pair == 0 ? baselineNs : std::min(paired.baselineNs, baselineNs);
    }
    paired.ratio = paired.workNs / paired.baselineNs;
    return paired;
}

Spread SpreadOf(std::vector<double> values) {
    if (values.empty()) {
        return {};
    }
    std::sort(values.begin(), values.end());
    const size_t middle = values.size() / 2;
    const double median = values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
    return {median, values.front(), values.back()};
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
