#pragma once

#include <QColor>

// Text colours of the painted screens.
namespace panelstyle {
inline const QColor kCaption(189, 198, 198);      // menu and RETURN button captions, labels
inline const QColor kHeading(187, 193, 196);      // headings and instructions
inline const QColor kStatusLabel(132, 132, 132);  // status bar labels
inline const QColor kValue(132, 255, 132);        // channel names and values
inline const QColor kFrameText(105, 105, 105);    // texts on the alarms and maintenance frames
}  // namespace panelstyle
