#pragma once

struct UnitSlot;

// The incremental redraws the poll asks for when the unit's values change.
class ScreenRedraws {
public:
    virtual ~ScreenRedraws() = default;
    virtual void DrawSwitch(int panel, bool on) = 0;
    virtual void ShowAndSaveIntensity(int panel, bool fromSlider) = 0;
    virtual void DrawChannelName(int panel) = 0;
    virtual void DrawStatusIcons() = 0;
    virtual void UpdateAlarmTiles() = 0;
    // The unit status changed while the demo loop may be running: stop it on an alarm.
    virtual void CheckDemoLoopAlarm(const UnitSlot& unit) = 0;
};
