#pragma once

#include <QRectF>

#include "PictureTable.h"

class QPainter;

namespace artwork {

// One painter per kind of the table; each fills the whole picture.

// Keys and controls of the channel panels.
void paintMenuButton(QPainter& p, const PictureSpec& spec);
void paintExitButton(QPainter& p, const PictureSpec& spec);
void paintWideButton(QPainter& p, const PictureSpec& spec);
void paintClearButton(QPainter& p, const PictureSpec& spec);
void paintStatusIcon(QPainter& p, const PictureSpec& spec);
void paintNameField(QPainter& p, const PictureSpec& spec);
void paintValueBox(QPainter& p, const PictureSpec& spec);
void paintChannelArrow(QPainter& p, const PictureSpec& spec);
void paintStepArrow(QPainter& p, const PictureSpec& spec);
void paintScaleLabel(QPainter& p, const PictureSpec& spec);
void paintChannelSwitch(QPainter& p, const PictureSpec& spec);
void paintModeSwitch(QPainter& p, const PictureSpec& spec);
void paintTriggeredSwitch(QPainter& p, const PictureSpec& spec);
void paintSliderTrack(QPainter& p, const PictureSpec& spec);
void paintSliderKnob(QPainter& p, const PictureSpec& spec);
void paintNumberField(QPainter& p, const PictureSpec& spec);

// Screens, frames and panels.
void paintBackground(QPainter& p, const PictureSpec& spec);
void paintGroupingPanel(QPainter& p, const PictureSpec& spec);
void paintTriggerPanel(QPainter& p, const PictureSpec& spec);
void paintAlarmFrame(QPainter& p, const PictureSpec& spec);
void paintAlarmTile(QPainter& p, const PictureSpec& spec);
void paintMaintenanceFrame(QPainter& p, const PictureSpec& spec);
void paintErrorListFrame(QPainter& p, const PictureSpec& spec);
void paintValueFrame(QPainter& p, const PictureSpec& spec);
void paintWarningPopup(QPainter& p, const PictureSpec& spec);
void paintTitlePicture(QPainter& p, const PictureSpec& spec);
void paintAppIcon(QPainter& p, const PictureSpec& spec);

// A number field filling rect, margin included: the closed and opened panels contain exactly
// what the blank number-field pictures redraw over them.
void drawNumberField(QPainter& p, const QRectF& rect);

inline QRectF bounds(const PictureSpec& spec) {
    return QRectF(0, 0, spec.width, spec.height);
}

}  // namespace artwork
