#pragma once

#include <QApplication>

class CRZ470ControlPanelApp : public QApplication {
    Q_OBJECT

public:
    CRZ470ControlPanelApp(int& argc, char** argv);

    // Sets up the profile key, runs the main dialog modally and returns the process exit code.
    int InitInstance();
};
