#pragma once

#include "ScriptSocketServer.h"
#include "SimulatedPanelTest.h"

#include <QImage>
#include <QRect>
#include <QTemporaryDir>

#include <memory>

class ScriptCommands;

// A started panel on the simulated unit, seen by a script: the panel's command layer, the sim's
// status fields, and whether the screen shows what a full repaint would.
class ScriptedPanelTest : public SimulatedPanelTest {
    Q_OBJECT

protected:
    ScriptCommands& commands() { return dialog().scriptCommands(); }
    // One field of the sim's status: simField("channel3.on") for unit 0's.
    QString simField(const QString& key);
    // The main screen's pixels as they are, against the same screen painted afresh.
    bool screenIsCurrent();
    // Ticks enough for a status read and an intensity read to land.
    void readBack() { panel_->tick(11); }
};

// The same panel with its script socket listening in a folder of the test's own once the panel has
// settled.
class ServedPanelTest : public ScriptedPanelTest {
    Q_OBJECT

protected:
    QString address() const { return folder_.filePath(QStringLiteral("script")); }
    void settle() override;
    void stopServing();

    QTemporaryDir folder_;
    std::unique_ptr<ScriptSocketServer> server_;
};
