#pragma once

#include "PanelLayout.h"
#include "PanelPainter.h"

#include <QColor>
#include <QString>

// Text colours of the painted screens.
namespace panelstyle {
inline const QColor kCaption(189, 198, 198);      // menu and RETURN button captions, labels
inline const QColor kHeading(187, 193, 196);      // headings and instructions
inline const QColor kStatusLabel(132, 132, 132);  // status bar labels
inline const QColor kValue(132, 255, 132);        // channel names and values
inline const QColor kFrameText(105, 105, 105);    // texts on the alarms and maintenance frames

inline const QColor& ToneColour(layout::Tone tone) {
    switch (tone) {
        case layout::Tone::Heading:
            return kHeading;
        case layout::Tone::StatusLabel:
            return kStatusLabel;
        case layout::Tone::Value:
            return kValue;
        case layout::Tone::FrameText:
            return kFrameText;
        case layout::Tone::Caption:
            break;
    }
    return kCaption;
}

inline const QFont& FaceFont(const PanelFont::Fonts& fonts, layout::Face face) {
    switch (face) {
        case layout::Face::Medium:
            return fonts.medium;
        case layout::Face::Large:
            return fonts.large;
        case layout::Face::Small:
            break;
    }
    return fonts.small;
}

// A text of a layout, in its face and tone, cut to box.
inline void DrawText(PanelPainter& painter, const layout::Text& text, const layout::Place& box) {
    painter.DrawLabel(FaceFont(painter.fonts(), text.face), ToneColour(text.tone), text.at.x, text.at.y,
                      QString::fromUtf8(text.text), box);
}
inline void DrawText(PanelPainter& painter, const layout::BoxedText& text) {
    DrawText(painter, text.text, text.box);
}
}  // namespace panelstyle
