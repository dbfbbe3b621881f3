#pragma once

// The figures that need a fresh process each: the benchmark runs itself again as
//   rz470-bench --child <mode> [seconds]
// and the child prints its reading as numbers on one line.
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace bench {

namespace child {
constexpr const char* kStartEmpty = "start-empty";    // ns until an empty dialog is shown and painted
constexpr const char* kStartPanel = "start-panel";    // ns until the main screen is; waited ms; ticks
constexpr const char* kIdle = "idle";                 // CPU ns, wall ns, timer ticks while polling
constexpr const char* kMemoryEmpty = "memory-empty";  // peak resident kB with an empty dialog shown
constexpr const char* kMemoryPanel = "memory-panel";  // the same with the panel, every screen shown
// Not measured by the bench: repaints one screen state for a number of seconds, for a profiler,
// and prints the repaints done.
constexpr const char* kRepaint = "repaint";  // arguments: screen state, seconds
}  // namespace child

// Runs one mode inside the child; the QApplication exists already. Returns the exit code.
int RunChild(const QString& mode, const QStringList& arguments);

// Runs the benchmark's own executable in one mode and returns the numbers it printed; none when it
// failed.
std::optional<std::vector<double>> RunInChild(const QString& mode, const QStringList& arguments = {});

}  // namespace bench
