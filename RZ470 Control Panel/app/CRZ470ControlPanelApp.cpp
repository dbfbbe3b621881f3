#include "CRZ470ControlPanelApp.h"

#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "PanelInstanceLock.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "RaiseRequests.h"
#include "ScriptSocketAddress.h"
#include "ScriptSocketServer.h"
#include "SessionBus.h"
#include "SettingsKeys.h"
#include "Waits.h"

#include <QFileInfo>

#include <cstdio>

namespace {

// How long a second start waits for the running panel to answer.
constexpr int kRaiseTimeoutMs = 3000;

void PrintLine(const QString& line) {
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

// The window the user works in comes to the front: the title window while the unit is being
// found, otherwise the main window, and over it any dialog it has open.
void BringToFront(CRZ470ControlPanelDlg& dialog) {
    if (dialog.titleWindow().isVisible()) {
        dialog.titleWindow().raise();
        dialog.titleWindow().activateWindow();
        return;
    }
    if (dialog.isMinimized()) {
        dialog.setWindowState(dialog.windowState() & ~Qt::WindowMinimized);
    }
    dialog.show();
    dialog.raise();
    dialog.activateWindow();
    if (QWidget* modal = QApplication::activeModalWidget(); modal != nullptr && modal != &dialog) {
        modal->raise();
        modal->activateWindow();
    }
}

}  // namespace

CRZ470ControlPanelApp::CRZ470ControlPanelApp(int& argc, char** argv) : QApplication(argc, argv) {}

int CRZ470ControlPanelApp::InitInstance() {
    setOrganizationName(settings::kCompanyKey);
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());
    setDesktopFileName(QStringLiteral(RZ470_DESKTOP_FILE_NAME));

    // Two panels would each drive the unit and each keep a stale copy of the favourites: the
    // lock is taken before the unit is looked for.
    PanelInstanceLock lock;
    switch (lock.Acquire()) {
        case PanelInstanceLock::Outcome::Acquired:
            break;
        case PanelInstanceLock::Outcome::HeldByAnother:
            PrintLine(
                RaiseRequests::AskToRaise(lock.folder(), kRaiseTimeoutMs)
                    ? QStringLiteral("%1: already running for this user; its window was brought to the front")
                          .arg(applicationName())
                    : QStringLiteral("%1: already running for this user; its window did not answer")
                          .arg(applicationName()));
            return 0;
        case PanelInstanceLock::Outcome::FolderRefused: {
            const QString text = QStringLiteral("%1: not started: %2").arg(applicationName(), lock.failure());
            PrintLine(text);
            QtPrompts().message(text, QStringLiteral("Error"), Prompts::Buttons::Ok, Prompts::Icon::Error);
            return 1;
        }
    }

    // Before the window exists, so that Qt never gives it a plain interface of its own.
    PanelAccessibility::InstallFactory();
    ThreadWaits waits;
    QtPrompts prompts;
    ProfileStore profile;
    CRZ470ControlPanelDlg dialog(PanelServices{waits, prompts, profile, LibraryLoader::defaultSearchDirs()});
    prompts.setParent(&dialog);
    RaiseRequests raiseRequests;
    QObject::connect(&raiseRequests, &RaiseRequests::RaiseRequested, &dialog,
                     [&dialog] { BringToFront(dialog); });
    if (!raiseRequests.Listen(lock.folder())) {
        PrintLine(
            QStringLiteral("%1: a second start cannot reach this panel's window").arg(applicationName()));
    }
    // Only the lock's holder listens, so no other panel can answer scripts in its place.
    ScriptSocketServer scripts(dialog.scriptCommands());
    if (!scripts.Listen(scriptsocket::Address(lock.folder()))) {
        PrintLine(QStringLiteral("%1: scripts cannot reach this panel: %2")
                      .arg(applicationName(), scripts.errorString()));
    }
    ServeOnSessionBus(dialog.scriptCommands(), &dialog);
    dialog.DoModal();
    return 0;
}
