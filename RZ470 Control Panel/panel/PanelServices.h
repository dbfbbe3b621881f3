#pragma once

#include "PanelFont.h"

#include <QStringList>

class Waits;
class Prompts;
class ProfileStore;

// The seams the main dialog works through; the application passes the real ones, tests doubles.
struct PanelServices {
    Waits& waits;
    Prompts& prompts;
    ProfileStore& profile;
    QStringList librarySearchDirs;  // where the device library is looked for, in order
    // Test suites keep QtTest's own crash report instead of a dump.
    bool installCrashHandlers = true;
    // The typeface file registered at start.
    QString fontFile = QString::fromLatin1(PanelFont::kResourcePath);
};
