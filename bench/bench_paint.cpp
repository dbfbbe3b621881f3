// How long a full paint of the main screen takes, as a ratio to drawing the background picture
// alone, measured in the same run. Every primitive loads its picture anew, so this shows what
// the piece-by-piece build-up of a screen costs:
//   bench_paint [rounds]
#include "OffscreenPanel.h"
#include "PanelPainter.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// Median nanoseconds per call over several batches.
double medianNanoseconds(int rounds, const std::function<void()>& work) {
    std::vector<double> batches;
    for (int batch = 0; batch < 7; ++batch) {
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < rounds; ++i) {
            work();
        }
        batches.push_back(static_cast<double>(timer.nsecsElapsed()) / rounds);
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int rounds = argc > 1 ? std::max(1, atoi(argv[1])) : 20;

    OffscreenPanel panel;
    if (!panel.isBound()) {
        std::fprintf(stderr, "the simulated unit could not be bound\n");
        return 1;
    }
    CRZ470ControlPanelDlg& dialog = panel.dialog();

    SurfaceCanvas canvas(QSize(CRZ470ControlPanelDlg::kClientWidth, CRZ470ControlPanelDlg::kClientHeight));
    const PanelFont::Fonts fonts = PanelFont::createPanelFonts();
    PanelPainter painter(canvas, fonts);

    const double background = medianNanoseconds(rounds, [&] { painter.DrawBackground(); });
    const double mainScreen = medianNanoseconds(rounds, [&] { dialog.router().PaintScreen(); });
    std::printf("background picture alone: %.3f ms\n", background / 1e6);
    std::printf("full main screen:         %.3f ms  (%.1f x the background)\n", mainScreen / 1e6,
                mainScreen / background);
    return 0;
}
