#include "CRZ470ControlPanelApp.h"

#include "CRZ470ControlPanelDlg.h"
#include "LibraryLoader.h"
#include "ProfileStore.h"
#include "QtPrompts.h"
#include "SettingsKeys.h"
#include "Waits.h"

#include <QFileInfo>

CRZ470ControlPanelDlg* g_mainDialog = nullptr;

CRZ470ControlPanelApp::CRZ470ControlPanelApp(int& argc, char** argv) : QApplication(argc, argv) {}

int CRZ470ControlPanelApp::InitInstance() {
    setOrganizationName(settings::kCompanyKey);
    setApplicationName(QFileInfo(applicationFilePath()).completeBaseName());

    ThreadWaits waits;
    QtPrompts prompts;
    ProfileStore profile;
    CRZ470ControlPanelDlg dialog(PanelServices{waits, prompts, profile, LibraryLoader::defaultSearchDirs()});
    prompts.setParent(&dialog);
    g_mainDialog = &dialog;
    dialog.DoModal();
    g_mainDialog = nullptr;
    return 0;
}
