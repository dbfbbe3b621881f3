// How long a full paint of the main screen takes, as a ratio to drawing the background picture
// alone, measured in the same run. Every primitive loads its picture anew, so this shows what
// the piece-by-piece build-up of a screen costs:
//   bench_paint [rounds]
#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "PanelPainter.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "Waits.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

class NoWaits : public Waits {
public:
    void wait(int) override {}
};

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

    QTemporaryDir scratch;
    qputenv("RZ470_SIM_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("sim"))));
    ProfileStore profile(scratch.filePath(QStringLiteral("profile.ini")));
    NoWaits waits;
    QtPrompts prompts;
    CRZ470ControlPanelDlg dialog(
        PanelServices{waits, prompts, profile, LibraryLoader::defaultSearchDirs(), false});
    dialog.InitDialog();
    if (!dialog.deviceApi().isBound()) {
        std::fprintf(stderr, "the simulated unit could not be bound\n");
        return 1;
    }
    dialog.OnTimer();

    SurfaceCanvas canvas(QSize(CRZ470ControlPanelDlg::kClientWidth, CRZ470ControlPanelDlg::kClientHeight));
    const PanelFont::Fonts fonts = PanelFont::createPanelFonts();
    PanelPainter painter(canvas, fonts);

    const double background = medianNanoseconds(rounds, [&] { painter.DrawBackground(); });
    const double mainScreen = medianNanoseconds(rounds, [&] { dialog.PaintScreen(); });
    std::printf("background picture alone: %.3f ms\n", background / 1e6);
    std::printf("full main screen:         %.3f ms  (%.1f x the background)\n", mainScreen / 1e6,
                mainScreen / background);
    dialog.reject();
    return 0;
}
