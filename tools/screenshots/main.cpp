// Renders every screen of the panel to PNG files, offscreen, against the simulated unit:
//   rz470-screenshots <output folder>
// The panel is driven through its own clicks, so the pictures show what a user gets.
#include "CAboutDlg.h"
#include "OffscreenPanel.h"
#include "ProductVersion.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cstdio>
#include <vector>

namespace {

struct Shot {
    const char* file;
    // Clicked in turn from the main screen, which comes back after the shot; none for the main
    // screen itself.
    std::vector<QPoint> clicks;
};

constexpr QPoint kReturnButton(100, 380);

// A click on the slider's track right of the knob, which moves it to the pointer.
void ClickSlider(CMainSliderCtrl& slider, int y) {
    const QPointF at(44, y);
    for (const QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
        QMouseEvent event(type, at, slider.mapToGlobal(at), Qt::LeftButton, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(&slider, &event);
    }
}

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
    OffscreenPanel panel;
    if (!panel.isBound()) {
        return 1;
    }
    CRZ470ControlPanelDlg& dialog = panel.dialog();
    // The first two channels at full scale and at zero, so the knob shows at both ends of its travel.
    ClickSlider(dialog.slider(0), 0);
    ClickSlider(dialog.slider(1), dialog.slider(1).height() - 1);

    const auto save = [&output](QWidget& widget, const char* name) {
        const QString file = output.filePath(QString::fromLatin1(name));
        if (!widget.grab().save(file)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    };

    const Shot shots[] = {
        {"main.png", {}},
        {"grouping.png", {{800, 380}}},
        // LED 9 opened, PELION on and LED 9 in group 2.
        {"grouping-led9.png", {{800, 380}, {1020, 50}, {1150, 130}, {1020, 135}, {1020, 135}}},
        {"trigger.png", {{950, 380}}},
        // LED 6 opened, its timeout raised to 6 minutes and its sequence number to 2.
        {"trigger-led6.png", {{950, 380}, {758, 50}, {748, 135}, {748, 135}, {748, 210}, {748, 210}}},
        {"maintenance.png", {{1100, 380}}},
        {"alarms.png", {{1300, 380}}},
    };
    for (const Shot& shot : shots) {
        for (const QPoint& at : shot.clicks) {
            panel.click(at);
        }
        if (!save(dialog, shot.file)) {
            return 1;
        }
        if (!shot.clicks.empty()) {
            panel.click(kReturnButton);
        }
    }

    // The keyboard's focus ring, last: once Tab was pressed it stays. Eight steps reach LED 2's
    // up arrow.
    for (int step = 0; step < 8; ++step) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialog, &tab);
    }
    if (!save(dialog, "main-keyboard-focus.png")) {
        return 1;
    }

    // The auxiliary dialogs, shown without their modal loops.
    CDemo& demo = dialog.demoLoop();
    demo.CopyNames(dialog.session().table());
    demo.show();
    const bool demoSaved = save(demo, "demo-loop.png");
    demo.hide();
    CAboutDlg about(&dialog);
    about.m_version = ReadProductVersion(QStringLiteral("ProductVersion"));
    about.show();
    const bool aboutSaved = save(about, "about.png");
    about.hide();
    return demoSaved && aboutSaved ? 0 : 1;
}
