#include "ChildRuns.h"

#include "Measure.h"
#include "OffscreenPanel.h"
#include "PrivateBus.h"
#include "ScreenStates.h"
#include "ScriptSocketServer.h"
#include "SessionBus.h"

#include <QCoreApplication>
#include <QDialog>
#include <QEventLoop>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

namespace bench {

namespace {

constexpr int kWidth = CRZ470ControlPanelDlg::kClientWidth;
constexpr int kHeight = CRZ470ControlPanelDlg::kClientHeight;

int StartEmpty() {
    QElapsedTimer timer;
    timer.start();
    QDialog dialog;
    dialog.setFixedSize(kWidth, kHeight);
    dialog.show();
    if (!WaitUntilPainted(dialog)) {
        return 1;
    }
    std::printf("%lld\n", static_cast<long long>(timer.nsecsElapsed()));
    return 0;
}

int StartPanel() {
    QElapsedTimer timer;
    timer.start();
    OffscreenPanel panel(OffscreenPanel::Ticks::UntilShown);
    if (!panel.isBound() || !WaitUntilPainted(panel.dialog())) {
        return 1;
    }
    const qint64 elapsed = timer.nsecsElapsed();
    std::printf("%lld %d %d\n", static_cast<long long>(elapsed), panel.waitedMilliseconds(), panel.ticks());
    return 0;
}

// Counts the poll timer's events on the dialog.
class TimerCount : public QObject {
public:
    explicit TimerCount(QObject& watched) { watched.installEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Timer) {
            ++count;
        }
        return false;
    }
};

void RunEventLoop(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

int Idle(int seconds) {
    // A bus of its own, in place before anything asks for the session bus.
    PrivateBus bus;
    if (!bus.running()) {
        return 1;
    }
    // Settled: the first reads after the start, which take the unit's values in, are done.
    OffscreenPanel panel;
    if (!panel.isBound() || !WaitUntilPainted(panel.dialog()) || !panel.dialog().isPollTimerRunning()) {
        return 1;
    }
    // Idle as a panel is: its script socket listening and its object on the session bus, no client
    // on either.
    QTemporaryDir folder;
    ScriptSocketServer scripts(panel.dialog().scriptCommands());
    if (!scripts.Listen(folder.filePath(QStringLiteral("script")))) {
        return 1;
    }
    ServeOnSessionBus(panel.dialog().scriptCommands(), &panel.dialog());
    // A second on the timer first, so whatever the start left to do is done too.
    RunEventLoop(1000);
    TimerCount ticks(panel.dialog());
    const int64_t cpuBefore = ProcessCpuNanoseconds();
    QElapsedTimer wall;
    wall.start();
    RunEventLoop(seconds * 1000);
    const int64_t cpu = ProcessCpuNanoseconds() - cpuBefore;
    std::printf("%lld %lld %d\n", static_cast<long long>(cpu), static_cast<long long>(wall.nsecsElapsed()),
                ticks.count);
    return 0;
}

int MemoryEmpty() {
    QDialog dialog;
    dialog.setFixedSize(kWidth, kHeight);
    dialog.show();
    if (!WaitUntilPainted(dialog)) {
        return 1;
    }
    std::printf("%ld\n", PeakResidentKilobytes());
    return 0;
}

int MemoryPanel() {
    OffscreenPanel panel;
    if (!panel.isBound() || !WaitUntilPainted(panel.dialog())) {
        return 1;
    }
    // Every screen once, each painted on the window, then the main screen and a few reads again.
    ScreenRouter& router = panel.dialog().router();
    for (const int state : {screens::kGroupingFirst, screens::kTriggerFirst, screens::kAlarms,
                            screens::kMaintenance, screens::kMain}) {
        router.ChangeScreen(state);
        WaitUntilPainted(panel.dialog());
    }
    for (int tick = 0; tick < 2 * UnitSession::kCountdownAfterRead; ++tick) {
        panel.dialog().OnTimer();
    }
    QCoreApplication::processEvents();
    std::printf("%ld\n", PeakResidentKilobytes());
    return 0;
}

int Repaint(int state, int seconds) {
    OffscreenPanel panel;
    if (!panel.isBound() || !WaitUntilPainted(panel.dialog())) {
        return 1;
    }
    ScreenRouter& router = panel.dialog().router();
    router.ChangeScreen(state);
    QElapsedTimer wall;
    wall.start();
    long long repaints = 0;
    while (wall.elapsed() < seconds * 1000LL) {
        router.PaintScreen();
        ++repaints;
    }
    std::printf("%lld\n", repaints);
    return 0;
}

}  // namespace

int RunChild(const QString& mode, const QStringList& arguments) {
    if (mode == QLatin1String(child::kStartEmpty)) {
        return StartEmpty();
    }
    if (mode == QLatin1String(child::kStartPanel)) {
        return StartPanel();
    }
    if (mode == QLatin1String(child::kIdle)) {
        return Idle(arguments.isEmpty() ? 10 : std::max(1, arguments.first().toInt()));
    }
    if (mode == QLatin1String(child::kMemoryEmpty)) {
        return MemoryEmpty();
    }
    if (mode == QLatin1String(child::kMemoryPanel)) {
        return MemoryPanel();
    }
    if (mode == QLatin1String(child::kRepaint) && arguments.size() == 2) {
        return Repaint(arguments[0].toInt(), std::max(1, arguments[1].toInt()));
    }
    std::fprintf(stderr, "unknown child mode %s\n", qPrintable(mode));
    return 2;
}

std::optional<std::vector<double>> RunInChild(const QString& mode, const QStringList& arguments) {
    QProcess process;
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process.start(QCoreApplication::applicationFilePath(),
                  QStringList{QStringLiteral("--child"), mode} + arguments);
    if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0) {
        std::fprintf(stderr, "child %s failed\n", qPrintable(mode));
        return std::nullopt;
    }
    std::vector<double> numbers;
    const QList<QByteArray> words = process.readAllStandardOutput().simplified().split(' ');
    for (const QByteArray& word : words) {
        bool ok = false;
        const double number = word.toDouble(&ok);
        if (!ok) {
            return std::nullopt;
        }
        numbers.push_back(number);
    }
    return numbers;
}

}  // namespace bench
