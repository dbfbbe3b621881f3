// Renders every screen of the panel to PNG files, offscreen, against the simulated unit:
//   rz470-screenshots <output folder>
// The panel is driven through its own clicks, so the pictures show what a user gets.
#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "Waits.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers every question with its first button, so nothing waits for a person.
class SilentPrompts : public QtPrompts {
public:
    Answer message(const QString& text, const QString&, Buttons buttons, Icon) override {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
    }
};

class NoWaits : public Waits {
public:
    void wait(int) override {}
};

struct Shot {
    const char* file;
    QPoint menuButton;  // clicked on the main screen first; null for the main screen itself
};

constexpr QPoint kReturnButton(100, 380);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: rz470-screenshots <output folder>\n");
        return 2;
    }
    const QDir output(QString::fromLocal8Bit(argv[1]));
    if (!QDir().mkpath(output.path())) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    // A private simulated unit and profile: the user's own are never touched.
    QTemporaryDir scratch;
    qputenv("RZ470_SIM_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("sim"))));
    ProfileStore profile(scratch.filePath(QStringLiteral("profile.ini")));
    NoWaits waits;
    SilentPrompts prompts;
    CRZ470ControlPanelDlg dialog(PanelServices{waits, prompts, profile, LibraryLoader::defaultSearchDirs()});
    dialog.InitDialog();
    if (!dialog.deviceApi().isBound()) {
        return 1;
    }
    for (int tick = 0; tick < 20; ++tick) {
        dialog.OnTimer();
    }

    const Shot shots[] = {
        {"main.png", {}},
        {"grouping.png", {800, 380}},
        {"trigger.png", {950, 380}},
        {"maintenance.png", {1100, 380}},
        {"alarms.png", {1300, 380}},
    };
    for (const Shot& shot : shots) {
        if (!shot.menuButton.isNull()) {
            dialog.OnLButtonDown(shot.menuButton.x(), shot.menuButton.y());
            dialog.OnLButtonUp();
        }
        const QString file = output.filePath(QString::fromLatin1(shot.file));
        if (!dialog.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return 1;
        }
        std::printf("%s\n", qPrintable(file));
        if (!shot.menuButton.isNull()) {
            dialog.OnLButtonDown(kReturnButton.x(), kReturnButton.y());
            dialog.OnLButtonUp();
        }
    }
    dialog.reject();
    return 0;
}
