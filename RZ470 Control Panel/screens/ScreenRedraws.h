#pragma once

// The redraws the poll asks for when the unit's values change. A screen draws those it shows.
class ScreenRedraws {
public:
    virtual ~ScreenRedraws() = default;
    virtual void DrawSwitch(int panel, bool on) = 0;
    virtual void ShowAndSaveIntensity(int panel, bool fromSlider) = 0;
    virtual void DrawChannelName(int panel) = 0;
    virtual void DrawStatusIcons() = 0;
    virtual void UpdateAlarmTiles() = 0;
    // The grouping or trigger tables changed by other means than this screen (a script).
    virtual void ShowTablesChanged() = 0;
};
