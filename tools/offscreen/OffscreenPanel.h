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
    enum class Ticks { Settled, UntilShown };

    // Call after the QApplication exists; the simulated unit is found and read at once. Settled
    // ticks on well after the main screen shows; UntilShown stops as soon as it does.
    explicit OffscreenPanel(Ticks ticks = Ticks::Settled)
        : simHome_(setSimHome(scratch_)),
          profile_(scratch_.filePath(QStringLiteral("profile.ini"))),
          dialog_(PanelServices{waits_, prompts_, profile_, LibraryLoader::defaultSearchDirs(), false}) {
        dialog_.InitDialog();
        for (int tick = 0; tick < 20 && dialog_.session().isBound(); ++tick) {
            if (ticks == Ticks::UntilShown && dialog_.isVisible()) {
                break;
            }
            dialog_.OnTimer();
            ++ticks_;
        }
    }
    ~OffscreenPanel() { dialog_.reject(); }
    OffscreenPanel(const OffscreenPanel&) = delete;
    OffscreenPanel& operator=(const OffscreenPanel&) = delete;

    bool isBound() { return dialog_.session().isBound(); }
    CRZ470ControlPanelDlg& dialog() { return dialog_; }
    // Poll ticks run so far by the constructor, and the waits the panel asked for (not slept).
    int ticks() const { return ticks_; }
    int waitedMilliseconds() const { return waits_.total; }

    // Presses and releases the left button at client pixel (x, y).
    void click(QPoint at) {
        dialog_.router().Press(at.x(), at.y());
        dialog_.router().Release();
    }

private:
    class NoWaits : public Waits {
    public:
        void wait(int milliseconds) override { total += milliseconds; }
        int total = 0;
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
    int ticks_ = 0;
};
