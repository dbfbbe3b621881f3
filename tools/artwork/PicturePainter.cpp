#include "PicturePainter.h"

#include <QPainter>

#include "KindPainters.h"

namespace artwork {

QImage renderPicture(const PictureRow& row, int scale) {
    using Painter = void (*)(QPainter&, const PictureRow&);
    Painter paint = nullptr;
    switch (row.kind) {
        case Kind::Background:
            paint = paintBackground;
            break;
        case Kind::MenuButton:
            paint = paintMenuButton;
            break;
        case Kind::ExitButton:
            paint = paintExitButton;
            break;
        case Kind::WideButton:
            paint = paintWideButton;
            break;
        case Kind::StatusIcon:
            paint = paintStatusIcon;
            break;
        case Kind::NameField:
            paint = paintNameField;
            break;
        case Kind::ValueBox:
            paint = paintValueBox;
            break;
        case Kind::ChannelArrow:
            paint = paintChannelArrow;
            break;
        case Kind::ScaleLabel:
            paint = paintScaleLabel;
            break;
        case Kind::ChannelSwitch:
            paint = paintChannelSwitch;
            break;
        case Kind::TriggeredSwitch:
            paint = paintTriggeredSwitch;
            break;
        case Kind::SliderTrack:
            paint = paintSliderTrack;
            break;
        case Kind::SliderKnob:
            paint = paintSliderKnob;
            break;
        case Kind::GroupingPanel:
            paint = paintGroupingPanel;
            break;
        case Kind::TriggerPanel:
            paint = paintTriggerPanel;
            break;
        case Kind::ClearButton:
            paint = paintClearButton;
            break;
        case Kind::StepArrow:
            paint = paintStepArrow;
            break;
        case Kind::NumberField:
            paint = paintNumberField;
            break;
        case Kind::ModeSwitch:
            paint = paintModeSwitch;
            break;
        case Kind::AlarmFrame:
            paint = paintAlarmFrame;
            break;
        case Kind::AlarmTile:
            paint = paintAlarmTile;
            break;
        case Kind::MaintenanceFrame:
            paint = paintMaintenanceFrame;
            break;
        case Kind::ErrorListFrame:
            paint = paintErrorListFrame;
            break;
        case Kind::ValueFrame:
            paint = paintValueFrame;
            break;
        case Kind::WarningPopup:
            paint = paintWarningPopup;
            break;
        case Kind::TitlePicture:
            paint = paintTitlePicture;
            break;
        case Kind::AppIcon:
            paint = paintAppIcon;
            break;
    }

    // Bitmaps are plain copies onto the panel and so carry no transparency; only the icon does.
    const bool icon = row.kind == Kind::AppIcon;
    QImage image(row.width * scale, row.height * scale,
                 icon ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(icon ? Qt::transparent : Qt::black);
    if (paint) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        paint(painter, row);
    }
    return image;
}

}  // namespace artwork
