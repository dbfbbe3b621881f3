#pragma once

// The panel on a private simulated unit and profile, for tools that render or time it without a
// person: waits take no time and questions answer themselves. The user's own simulated unit and
// settings are never touched.
#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "Waits.h"

#include <QTemporaryDir>

#include <cstdio>

class OffscreenPanel {
public:
    // Call after the QApplication exists; the simulated unit is found and read at once.
    OffscreenPanel()
        : simHome_(setSimHome(scratch_)),
          profile_(scratch_.filePath(QStringLiteral("profile.ini"))),
          dialog_(PanelServices{waits_, prompts_, profile_, LibraryLoader::defaultSearchDirs(), false}) {
        dialog_.InitDialog();
        for (int tick = 0; tick < 20 && dialog_.session().isBound(); ++tick) {
            dialog_.OnTimer();
        }
    }
    ~OffscreenPanel() { dialog_.reject(); }
    OffscreenPanel(const OffscreenPanel&) = delete;
    OffscreenPanel& operator=(const OffscreenPanel&) = delete;

    bool isBound() { return dialog_.session().isBound(); }
    CRZ470ControlPanelDlg& dialog() { return dialog_; }

    // Presses and releases the left button at client pixel (x, y).
    void click(QPoint at) {
        dialog_.router().Press(at.x(), at.y());
        dialog_.router().Release();
    }

private:
    class NoWaits : public Waits {
    public:
        void wait(int) override {}
    };

    // Answers every message with its first button and reports it.
    class SilentPrompts : public QtPrompts {
    public:
        Answer message(const QString& text, const QString&, Buttons buttons, Icon) override {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
            return buttons == Buttons::Ok ? Answer::Ok : Answer::No;
        }
        FavouriteOption favouriteOptions() override { return FavouriteOption::Cancel; }
    };

    static bool setSimHome(const QTemporaryDir& scratch) {
        return qputenv("RZ470_SIM_HOME", QFile::encodeName(scratch.filePath(QStringLiteral("sim"))));
    }

    QTemporaryDir scratch_;
    bool simHome_;
    ProfileStore profile_;
    NoWaits waits_;
    SilentPrompts prompts_;
    CRZ470ControlPanelDlg dialog_;
};
