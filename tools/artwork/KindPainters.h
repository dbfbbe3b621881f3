#pragma once

#include <QRectF>

#include "PictureTable.h"

class QPainter;

namespace artwork {

// One painter per kind of the table; each fills the whole picture.

// Keys and controls of the channel panels.
void paintMenuButton(QPainter& p, const PictureRow& row);
void paintExitButton(QPainter& p, const PictureRow& row);
void paintWideButton(QPainter& p, const PictureRow& row);
void paintClearButton(QPainter& p, const PictureRow& row);
void paintStatusIcon(QPainter& p, const PictureRow& row);
void paintNameField(QPainter& p, const PictureRow& row);
void paintValueBox(QPainter& p, const PictureRow& row);
void paintChannelArrow(QPainter& p, const PictureRow& row);
void paintStepArrow(QPainter& p, const PictureRow& row);
void paintScaleLabel(QPainter& p, const PictureRow& row);
void paintChannelSwitch(QPainter& p, const PictureRow& row);
void paintModeSwitch(QPainter& p, const PictureRow& row);
void paintTriggeredSwitch(QPainter& p, const PictureRow& row);
void paintSliderTrack(QPainter& p, const PictureRow& row);
void paintSliderKnob(QPainter& p, const PictureRow& row);
void paintNumberField(QPainter& p, const PictureRow& row);

// Screens, frames and panels.
void paintBackground(QPainter& p, const PictureRow& row);
void paintGroupingPanel(QPainter& p, const PictureRow& row);
void paintTriggerPanel(QPainter& p, const PictureRow& row);
void paintAlarmFrame(QPainter& p, const PictureRow& row);
void paintAlarmTile(QPainter& p, const PictureRow& row);
void paintMaintenanceFrame(QPainter& p, const PictureRow& row);
void paintErrorListFrame(QPainter& p, const PictureRow& row);
void paintValueFrame(QPainter& p, const PictureRow& row);
void paintWarningPopup(QPainter& p, const PictureRow& row);
void paintTitlePicture(QPainter& p, const PictureRow& row);
void paintAppIcon(QPainter& p, const PictureRow& row);

// A number field filling rect, margin included: the closed and opened panels contain exactly
// what the blank number-field pictures redraw over them.
void drawNumberField(QPainter& p, const QRectF& rect);

inline QRectF bounds(const PictureRow& row) {
    return QRectF(0, 0, row.width, row.height);
}

}  // namespace artwork
