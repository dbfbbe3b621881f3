#pragma once

#include "Screen.h"

#include <QString>
#include <QStringList>

// The unit's and the panel's versions, the unit's serial number and its channel errors, as they
// are when the screen is painted or the window is uncovered; the poll redraws only the status
// icons here.
class MaintenanceScreen : public Screen {
public:
    explicit MaintenanceScreen(ScreenContext& context);

    void Paint() override;
    // The surface keeps the texts as they were drawn: the values' frames and the values again.
    void Uncovered() override;

private:
    void DrawMaintenanceScreen();
    void DrawMaintenanceValues();

    const QString panelVersion_;
    // The values as last drawn, which is what assistive technology is told.
    QString shownVersion_, shownSerial_;
    QStringList shownErrors_;
};
