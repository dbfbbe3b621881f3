// The panel's benchmark: every figure as a ratio to a baseline measured in the same run, with its
// target and whether it is met. Each figure is taken five times: the median counts, and the least
// and most show how much it moved.
//   rz470-bench [--idle-seconds N] [--this-ratio-only]
// Everything is measured on the screen's own device pixel ratio, then again in a second run at
// ratio 2 (QT_SCALE_FACTOR=2), unless --this-ratio-only.
// On the display when there is one, else offscreen (QT_QPA_PLATFORM overrides either). Exits with
// 1 when a target is missed.
#include "BusFigures.h"
#include "ChildRuns.h"
#include "Measure.h"
#include "OffscreenPanel.h"
#include "PanelArtwork.h"
#include "PanelFigures.h"
#include "ScriptFigures.h"

#include <QApplication>
#include <QGuiApplication>
#include <QProcess>

#include <cstdio>

namespace {

using namespace bench;

struct Row {
    QString figure;
    QString measured;
    QString baseline;
    QString ratio;
    QString target;
    bool met;
};

QString Milliseconds(double nanoseconds) {
    return QStringLiteral("%1 ms").arg(nanoseconds / 1e6, 0, 'f', 3);
}

QString Microseconds(double nanoseconds) {
    return QStringLiteral("%1 us").arg(nanoseconds / 1e3, 0, 'f', 1);
}

void Print(const std::vector<Row>& rows) {
    const QStringList headings = {QStringLiteral("figure"),   QStringLiteral("measured"),
                                  QStringLiteral("baseline"), QStringLiteral("ratio"),
                                  QStringLiteral("target"),   QStringLiteral("met")};
    std::vector<int> widths;
    for (const QString& heading : headings) {
        widths.push_back(static_cast<int>(heading.size()));
    }
    std::vector<QStringList> cells;
    for (const Row& row : rows) {
        cells.push_back({row.figure, row.measured, row.baseline, row.ratio, row.target,
                         row.met ? QStringLiteral("yes") : QStringLiteral("NO")});
    }
    for (const QStringList& line : cells) {
        for (int i = 0; i < line.size(); ++i) {
            widths[static_cast<size_t>(i)] =
                std::max(widths[static_cast<size_t>(i)], static_cast<int>(line[i].size()));
        }
    }
    const auto printLine = [&widths](const QStringList& line) {
        QString text;
        for (int i = 0; i < line.size(); ++i) {
            text += line[i].leftJustified(widths[static_cast<size_t>(i)] + 2);
        }
        std::printf("%s\n", qPrintable(text.trimmed()));
    };
    printLine(headings);
    for (const QStringList& line : cells) {
        printLine(line);
    }
}

// Every figure is taken this many times; its median meets the target or not.
constexpr int kRuns = 5;

// A ratio's median and, in brackets, its least and most over the runs.
QString TimesSpread(const Spread& ratio) {
    return QStringLiteral("%1 x (%2-%3)")
        .arg(ratio.median, 0, 'f', 2)
        .arg(ratio.least, 0, 'f', 2)
        .arg(ratio.most, 0, 'f', 2);
}

// Peak memory may grow by more at ratio 2, where the one surface image takes four times the bytes.
double MemoryTarget() {
    return qApp->devicePixelRatio() > 1.0 ? 1.75 : 1.5;
}

// (a) and (b): paints and ticks, in this process.
void AddPaintAndTickRows(std::vector<Row>& rows) {
    OffscreenPanel panel;
    if (!panel.isBound()) {
        rows.push_back({QStringLiteral("the simulated unit could not be bound"), {}, {}, {}, {}, false});
        return;
    }
    struct PaintRuns {
        QString screen;
        int primitives = 0;
        std::vector<double> work, blit, ratio;
    };
    std::vector<PaintRuns> paints;
    std::vector<TickCost> ticks;
    for (int run = 0; run < kRuns; ++run) {
        const std::vector<ScreenPaint> measured = PaintEachScreen(panel);
        paints.resize(measured.size());
        for (size_t i = 0; i < measured.size(); ++i) {
            paints[i].screen = measured[i].screen;
            paints[i].primitives = measured[i].primitives;
            paints[i].work.push_back(measured[i].timing.workNs);
            paints[i].blit.push_back(measured[i].timing.baselineNs);
            paints[i].ratio.push_back(measured[i].timing.ratio);
        }
        ticks.push_back(MeasureTicks(panel));
    }
    for (const PaintRuns& paint : paints) {
        const Spread ratio = SpreadOf(paint.ratio);
        rows.push_back(
            {QStringLiteral("(a) paint %1 (%2 primitives)").arg(paint.screen).arg(paint.primitives),
             Milliseconds(SpreadOf(paint.work).median),
             QStringLiteral("blit %1").arg(Milliseconds(SpreadOf(paint.blit).median)), TimesSpread(ratio),
             QStringLiteral("<= 4 x"), ratio.median <= 4.0});
    }

    const QImage& surface = panel.dialog().router().surface().image();
    const double blit = FastestNanoseconds(BlitOf(surface));
    const QString blitText = QStringLiteral("blit %1").arg(Milliseconds(blit));
    std::vector<double> idleNs, changeNs, changePrimitives;
    int idlePrimitives = 0;
    for (const TickCost& tick : ticks) {
        idleNs.push_back(tick.idleNanoseconds);
        changeNs.push_back(tick.changeNanoseconds);
        changePrimitives.push_back(tick.changePrimitives);
        idlePrimitives += tick.idlePrimitives;
    }
    const Spread idle = SpreadOf(idleNs);
    const Spread change = SpreadOf(changeNs);
    const double changeDrawn = SpreadOf(changePrimitives).median;
    rows.push_back({QStringLiteral("(b) tick, no change: primitives drawn, all runs"),
                    QString::number(idlePrimitives),
                    {},
                    {},
                    QStringLiteral("0"),
                    idlePrimitives == 0});
    rows.push_back({QStringLiteral("(b) tick, no change: slowest step"), Microseconds(idle.median), blitText,
                    TimesSpread({idle.median / blit, idle.least / blit, idle.most / blit}),
                    QStringLiteral("<= 20.0 us"), idle.median <= 20e3});
    rows.push_back({QStringLiteral("(b) tick, one LED switched (%1 primitives)").arg(changeDrawn),
                    Microseconds(change.median), blitText,
                    TimesSpread({change.median / blit, change.least / blit, change.most / blit}),
                    QStringLiteral("only the switch: 1 primitive"), changeDrawn == 1.0});
}

// (c): start-up, each run a fresh process for the empty dialog and one for the panel, in turn.
void AddStartRow(std::vector<Row>& rows) {
    std::vector<double> empty, panel, above;
    double waited = 0, ticks = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto emptyRun = RunInChild(QString::fromLatin1(child::kStartEmpty));
        const auto panelRun = RunInChild(QString::fromLatin1(child::kStartPanel));
        if (!emptyRun || !panelRun || panelRun->size() != 3) {
            rows.push_back({QStringLiteral("(c) start: a run failed"), {}, {}, {}, {}, false});
            return;
        }
        empty.push_back(emptyRun->front());
        panel.push_back((*panelRun)[0]);
        above.push_back((*panelRun)[0] - emptyRun->front());
        waited = (*panelRun)[1];
        ticks = (*panelRun)[2];
    }
    const Spread more = SpreadOf(above);
    rows.push_back(
        {QStringLiteral("(c) start to main screen (%1 ticks back to back, %2 ms of waits not slept)")
             .arg(ticks)
             .arg(waited),
         Milliseconds(SpreadOf(panel).median),
         QStringLiteral("empty dialog %1").arg(Milliseconds(SpreadOf(empty).median)),
         QStringLiteral("+%1 ms (%2-%3)")
             .arg(more.median / 1e6, 0, 'f', 1)
             .arg(more.least / 1e6, 0, 'f', 1)
             .arg(more.most / 1e6, 0, 'f', 1),
         QStringLiteral("<= empty + 50 ms"), more.median <= 50e6});
}

// (d): CPU while polling idle on the real timer.
void AddIdleRow(std::vector<Row>& rows, int seconds) {
    std::vector<double> cpu, share;
    double wall = 0, ticks = 0;
    for (int run = 0; run < kRuns; ++run) {
        const auto idle = RunInChild(QString::fromLatin1(child::kIdle), {QString::number(seconds)});
        if (!idle || idle->size() != 3) {
            rows.push_back({QStringLiteral("(d) idle polling: a run failed"), {}, {}, {}, {}, false});
            return;
        }
        cpu.push_back((*idle)[0]);
        wall = (*idle)[1];
        ticks = (*idle)[2];
        share.push_back(100.0 * (*idle)[0] / (*idle)[1]);
    }
    const Spread percent = SpreadOf(share);
    rows.push_back(
        {QStringLiteral("(d) idle polling CPU, script socket and session bus listening (%1 ticks a run)")
             .arg(ticks),
         Milliseconds(SpreadOf(cpu).median), QStringLiteral("one core %1 s").arg(wall / 1e9, 0, 'f', 1),
         QStringLiteral("%1 % (%2-%3)")
             .arg(percent.median, 0, 'f', 3)
             .arg(percent.least, 0, 'f', 3)
             .arg(percent.most, 0, 'f', 3),
         QStringLiteral("<= 0.5 %"), percent.median <= 0.5});
}

// (e): peak resident memory, each in a process of its own.
void AddMemoryRow(std::vector<Row>& rows) {
    std::vector<double> empty, panel, ratio;
    for (int run = 0; run < kRuns; ++run) {
        const auto emptyRun = RunInChild(QString::fromLatin1(child::kMemoryEmpty));
        const auto panelRun = RunInChild(QString::fromLatin1(child::kMemoryPanel));
        if (!emptyRun || !panelRun || emptyRun->front() <= 0 || panelRun->front() <= 0) {
            rows.push_back({QStringLiteral("(e) peak memory: a run failed"), {}, {}, {}, {}, false});
            return;
        }
        empty.push_back(emptyRun->front());
        panel.push_back(panelRun->front());
        ratio.push_back(panelRun->front() / emptyRun->front());
    }
    const Spread times = SpreadOf(ratio);
    const double target = MemoryTarget();
    rows.push_back({QStringLiteral("(e) peak resident memory, every screen shown"),
                    QStringLiteral("%1 MB").arg(SpreadOf(panel).median / 1024, 0, 'f', 1),
                    QStringLiteral("empty dialog %1 MB").arg(SpreadOf(empty).median / 1024, 0, 'f', 1),
                    TimesSpread(times), QStringLiteral("<= %1 x").arg(target), times.median <= target});
}

// (f) and (g): the script socket, against a bare echo and on the sustained rate.
void AddScriptRows(std::vector<Row>& rows, int sustainSeconds) {
    OffscreenPanel panel;
    std::vector<double> script, echo, ratio, rate;
    bool atUnit = true;
    bool onScreen = true;
    long growth = 0;
    for (int run = 0; run < kRuns; ++run) {
        const RoundTrips trips = MeasureRoundTrips(panel, 500);
        const SustainedLevels sustained = MeasureSustainedLevels(panel, sustainSeconds);
        if (trips.scriptNs <= 0) {
            rows.push_back({QStringLiteral("(f) script socket: a run failed"), {}, {}, {}, {}, false});
            return;
        }
        script.push_back(trips.scriptNs);
        echo.push_back(trips.echoNs);
        ratio.push_back(trips.scriptNs / trips.echoNs);
        rate.push_back(sustained.perSecond);
        atUnit = atUnit && sustained.eachAtTheUnit;
        onScreen = onScreen && sustained.eachOnScreen;
        growth = std::max(growth, sustained.residentGrowthKb);
    }
    const double median = SpreadOf(script).median;
    rows.push_back({QStringLiteral("(f) socket round trip, level command"), Milliseconds(median),
                    QStringLiteral("echo %1").arg(Milliseconds(SpreadOf(echo).median)),
                    TimesSpread(SpreadOf(ratio)), QStringLiteral("<= 0.5 ms"), median <= 0.5e6});
    const Spread perSecond = SpreadOf(rate);
    rows.push_back(
        {QStringLiteral("(g) sustained level commands for %1 s (each at the unit %2, on screen %3, "
                        "memory +%4 kB)")
             .arg(sustainSeconds)
             .arg(atUnit ? QStringLiteral("yes") : QStringLiteral("no"))
             .arg(onScreen ? QStringLiteral("yes") : QStringLiteral("no"))
             .arg(growth),
         QStringLiteral("%1 /s").arg(perSecond.median, 0, 'f', 0),
         {},
         QStringLiteral("%1-%2 /s").arg(perSecond.least, 0, 'f', 0).arg(perSecond.most, 0, 'f', 0),
         QStringLiteral(">= 1000 /s"),
         perSecond.median >= 1000 && atUnit && onScreen && growth < 1024});
}

// (h): a SetLevel over the session bus against a bare echo over the same bus.
void AddBusRow(std::vector<Row>& rows) {
    OffscreenPanel panel;
    const BusRoundTrips trips = MeasureBusRoundTrips(panel.dialog(), kRuns);
    if (!trips.failure.isEmpty()) {
        rows.push_back({QStringLiteral("(h) D-Bus round trip: ") + trips.failure, {}, {}, {}, {}, false});
        return;
    }
    const QString echo = QStringLiteral("echo %1").arg(Milliseconds(SpreadOf(trips.echoNs).median));
    const auto addRow = [&](const QString& figure, const std::vector<double>& trip) {
        std::vector<double> ratio;
        for (size_t run = 0; run < trip.size(); ++run) {
            ratio.push_back(trip[run] / trips.echoNs[run]);
        }
        const double median = SpreadOf(trip).median;
        rows.push_back({figure, Milliseconds(median), echo, TimesSpread(SpreadOf(ratio)),
                        QStringLiteral("<= 1 ms"), median <= 1e6});
    };
    addRow(QStringLiteral("(h) D-Bus round trip of SetLevel"), trips.setLevelNs);
    // The same trip with nothing stored: what the bus itself costs beside the store.
    addRow(QStringLiteral("(h) D-Bus round trip of GetChannel"), trips.readNs);
}

}  // namespace

int main(int argc, char** argv) {
    // Without a display the figures come offscreen; with one, from the window system it offers.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments();
    if (arguments.size() >= 3 && arguments[1] == QLatin1String("--child")) {
        return RunChild(arguments[2], arguments.mid(3));
    }
    int idleSeconds = 4;
    const int idleOption = static_cast<int>(arguments.indexOf(QStringLiteral("--idle-seconds")));
    if (idleOption > 0 && idleOption + 1 < arguments.size()) {
        idleSeconds = std::max(1, arguments[idleOption + 1].toInt());
    }

    std::printf("platform %s, device pixel ratio %g, pictures at scale %d\n",
                qPrintable(QGuiApplication::platformName()), qApp->devicePixelRatio(),
                PanelArtwork::pictureScale(qApp->devicePixelRatio()));
    std::vector<Row> rows;
    AddPaintAndTickRows(rows);
    AddStartRow(rows);
    AddIdleRow(rows, idleSeconds);
    AddMemoryRow(rows);
    AddScriptRows(rows, 10);
    AddBusRow(rows);
    Print(rows);
    std::fflush(stdout);
    bool allMet = std::all_of(rows.begin(), rows.end(), [](const Row& row) { return row.met; });
    const auto verdict = [](bool met) { return met ? "every target met" : "a target is missed"; };

    if (arguments.contains(QStringLiteral("--this-ratio-only"))) {
        std::printf("at device pixel ratio %g: %s\n", qApp->devicePixelRatio(), verdict(allMet));
        return allMet ? 0 : 1;
    }
    // The same again on a screen of device pixel ratio 2, in a run of its own.
    {
        std::printf("\n");
        std::fflush(stdout);
        QProcess ratio2;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("2"));
        ratio2.setProcessEnvironment(environment);
        ratio2.setProcessChannelMode(QProcess::ForwardedChannels);
        ratio2.start(QCoreApplication::applicationFilePath(),
                     {QStringLiteral("--this-ratio-only"), QStringLiteral("--idle-seconds"),
                      QString::number(idleSeconds)});
        allMet = ratio2.waitForFinished(-1) && ratio2.exitStatus() == QProcess::NormalExit &&
                 ratio2.exitCode() == 0 && allMet;
    }
    std::printf("at both ratios: %s\n", verdict(allMet));
    return allMet ? 0 : 1;
}
