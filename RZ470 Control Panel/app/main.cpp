#include "CRZ470ControlPanelApp.h"

int main(int argc, char** argv) {
    CRZ470ControlPanelApp app(argc, argv);
    return app.InitInstance();
}
