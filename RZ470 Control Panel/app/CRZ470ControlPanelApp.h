#pragma once

#include <QApplication>

class CRZ470ControlPanelDlg;

// The main dialog of the run, for the auxiliary dialogs that reach the unit through it.
extern CRZ470ControlPanelDlg* g_mainDialog;

class CRZ470ControlPanelApp : public QApplication {
    Q_OBJECT

public:
    CRZ470ControlPanelApp(int& argc, char** argv);

    // Sets up the profile key, runs the main dialog modally and returns the process exit code.
    int InitInstance();
};
