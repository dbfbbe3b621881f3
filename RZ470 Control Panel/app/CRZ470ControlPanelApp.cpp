#include "CRZ470ControlPanelApp.h"

#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "SettingsKeys.h"
#include "Waits.h"

#include <QFileInfo>

CRZ470ControlPanelApp::CRZ470ControlPanelApp(int& argc, char** argv) : QApplication(argc, argv) {}

int CRZ470ControlPanelApp::InitInstance() {
    setOrganizationName(settings::kCompanyKey);
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());
    setDesktopFileName(QStringLiteral(RZ470_DESKTOP_FILE_NAME));

    // Before the window exists, so that Qt never gives it a plain interface of its own.
    PanelAccessibility::InstallFactory();
    ThreadWaits waits;
    QtPrompts prompts;
    ProfileStore profile;
    CRZ470ControlPanelDlg dialog(PanelServices{waits, prompts, profile, LibraryLoader::defaultSearchDirs()});
    prompts.setParent(&dialog);
    dialog.DoModal();
    return 0;
}
