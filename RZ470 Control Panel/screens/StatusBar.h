#pragma once

#include <cstdint>

class PanelPainter;

// The four unit indicators along the top edge of the main, trigger, alarms and maintenance
// screens.
class StatusBar {
public:
    explicit StatusBar(PanelPainter& painter) : painter_(painter) {}

    // The four icons, lit or dim from the unit status word.
    void DrawStatusIcons(uint16_t unitStatus);
    // The icons, then their labels.
    void DrawStatusBar(uint16_t unitStatus);

private:
    PanelPainter& painter_;
};
