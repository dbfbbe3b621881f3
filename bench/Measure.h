#pragma once

// Timing, CPU and memory readings shared by the benchmark's figures.
#include <QElapsedTimer>
#include <QString>

#include <cstdint>
#include <functional>
#include <vector>

class QWidget;

namespace bench {

// Nanoseconds of this thread's CPU time per call of work in the fastest of eleven batches, each of
// enough calls to last at least minBatchMs: other processes on the machine only ever make a batch
// slower.
double FastestNanoseconds(const std::function<void()>& work, int minBatchMs = 10);

struct Paired {
    double workNs;      // per call, fastest batch
    double baselineNs;  // per call, fastest batch
    double ratio;       // workNs / baselineNs
};

// work against baseline in batches taken in turn, so that both have the same chances of a quiet
// moment on the machine; each counts its fastest batch.
Paired AgainstBaseline(const std::function<void()>& work, const std::function<void()>& baseline);

// How a figure taken several times came out: its median, and its least and most.
struct Spread {
    double median;
    double least;
    double most;
};
Spread SpreadOf(std::vector<double> values);

// CPU time used by the whole process (every thread) so far, in nanoseconds.
int64_t ProcessCpuNanoseconds();

// Peak resident set of the process so far (VmHWM), in kilobytes; -1 where it cannot be read.
long PeakResidentKilobytes();

// Runs the event loop until widget has handled a paint event, for at most timeoutMs; false on the
// timeout.
bool WaitUntilPainted(QWidget& widget, int timeoutMs = 5000);

}  // namespace bench
