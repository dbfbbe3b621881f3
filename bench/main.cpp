// The panel's benchmark: every figure as a ratio to a baseline measured in the same run, with its
// target and whether it is met.
//   rz470-bench [--idle-seconds N] [--this-ratio-only]
// Everything is measured on the screen's own device pixel ratio, then again in a second run at
// ratio 2 (QT_SCALE_FACTOR=2), unless --this-ratio-only.
// On the display when there is one, else offscreen (QT_QPA_PLATFORM overrides either). Exits with
// 1 when a target is missed.
#include "ChildRuns.h"
#include "Measure.h"
#include "OffscreenPanel.h"
#include "PanelArtwork.h"
#include "PanelFigures.h"

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

QString Times(double ratio) {
    return QStringLiteral("%1 x").arg(ratio, 0, 'f', 2);
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

// (a) and (b): paints and ticks, in this process.
void AddPaintAndTickRows(std::vector<Row>& rows) {
    OffscreenPanel panel;
    if (!panel.isBound()) {
        rows.push_back({QStringLiteral("the simulated unit could not be bound"), {}, {}, {}, {}, false});
        return;
    }
    const QImage& surface = panel.dialog().router().surface().image();
    const double blit = FastestNanoseconds(BlitOf(surface));
    const QString blitText = QStringLiteral("blit %1").arg(Milliseconds(blit));
    for (const ScreenPaint& paint : PaintEachScreen(panel)) {
        rows.push_back(
            {QStringLiteral("(a) paint %1 (%2 primitives)").arg(paint.screen).arg(paint.primitives),
             Milliseconds(paint.timing.workNs),
             QStringLiteral("blit %1").arg(Milliseconds(paint.timing.baselineNs)), Times(paint.timing.ratio),
             QStringLiteral("<= 5 x"), paint.timing.ratio <= 5.0});
    }

    const TickCost tick = MeasureTicks(panel);
    rows.push_back({QStringLiteral("(b) tick, no change: primitives drawn"),
                    QString::number(tick.idlePrimitives),
                    {},
                    {},
                    QStringLiteral("0"),
                    tick.idlePrimitives == 0});
    rows.push_back({QStringLiteral("(b) tick, no change: slowest step"), Microseconds(tick.idleNanoseconds),
                    blitText, Times(tick.idleNanoseconds / blit), QStringLiteral("<= 20.0 us"),
                    tick.idleNanoseconds <= 20e3});
    rows.push_back({QStringLiteral("(b) tick, one LED switched (%1 primitives)").arg(tick.changePrimitives),
                    Microseconds(tick.changeNanoseconds), blitText, Times(tick.changeNanoseconds / blit),
                    QStringLiteral("only the switch: 1 primitive"), tick.changePrimitives == 1.0});
}

double Fastest(const std::vector<double>& values) {
    return *std::min_element(values.begin(), values.end());
}

// (c): start-up, each run in a fresh process, empty dialog and panel in turn; the fastest of each.
void AddStartRow(std::vector<Row>& rows) {
    std::vector<double> empty, panel;
    double waited = 0, ticks = 0;
    for (int run = 0; run < 5; ++run) {
        const auto emptyRun = RunInChild(QString::fromLatin1(child::kStartEmpty));
        const auto panelRun = RunInChild(QString::fromLatin1(child::kStartPanel));
        if (!emptyRun || !panelRun || panelRun->size() != 3) {
            rows.push_back({QStringLiteral("(c) start: a run failed"), {}, {}, {}, {}, false});
            return;
        }
        empty.push_back(emptyRun->front());
        panel.push_back((*panelRun)[0]);
        waited = (*panelRun)[1];
        ticks = (*panelRun)[2];
    }
    const double emptyNs = Fastest(empty);
    const double panelNs = Fastest(panel);
    rows.push_back(
        {QStringLiteral("(c) start to main screen (%1 ticks back to back, %2 ms of waits not slept)")
             .arg(ticks)
             .arg(waited),
         Milliseconds(panelNs), QStringLiteral("empty dialog %1").arg(Milliseconds(emptyNs)),
         QStringLiteral("%1 (%2%3 ms)")
             .arg(Times(panelNs / emptyNs))
             .arg(panelNs >= emptyNs ? QStringLiteral("+") : QString())
             .arg((panelNs - emptyNs) / 1e6, 0, 'f', 1),
         QStringLiteral("<= empty + 50 ms"), panelNs <= emptyNs + 50e6});
}

// (d): CPU while polling idle on the real timer.
void AddIdleRow(std::vector<Row>& rows, int seconds) {
    const auto idle = RunInChild(QString::fromLatin1(child::kIdle), {QString::number(seconds)});
    if (!idle || idle->size() != 3) {
        rows.push_back({QStringLiteral("(d) idle polling: the run failed"), {}, {}, {}, {}, false});
        return;
    }
    const double cpu = (*idle)[0];
    const double wall = (*idle)[1];
    const double share = 100.0 * cpu / wall;
    rows.push_back({QStringLiteral("(d) idle polling CPU (%1 ticks)").arg((*idle)[2]), Milliseconds(cpu),
                    QStringLiteral("one core %1 s").arg(wall / 1e9, 0, 'f', 1),
                    QStringLiteral("%1 %").arg(share, 0, 'f', 3), QStringLiteral("<= 0.5 %"), share <= 0.5});
}

// (e): peak resident memory, each in a process of its own.
void AddMemoryRow(std::vector<Row>& rows) {
    const auto empty = RunInChild(QString::fromLatin1(child::kMemoryEmpty));
    const auto panel = RunInChild(QString::fromLatin1(child::kMemoryPanel));
    if (!empty || !panel || empty->front() <= 0 || panel->front() <= 0) {
        rows.push_back({QStringLiteral("(e) peak memory: a run failed"), {}, {}, {}, {}, false});
        return;
    }
    const double ratio = panel->front() / empty->front();
    rows.push_back({QStringLiteral("(e) peak resident memory, every screen shown"),
                    QStringLiteral("%1 MB").arg(panel->front() / 1024, 0, 'f', 1),
                    QStringLiteral("empty dialog %1 MB").arg(empty->front() / 1024, 0, 'f', 1), Times(ratio),
                    QStringLiteral("<= 1.5 x"), ratio <= 1.5});
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
    int idleSeconds = 10;
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
