#pragma once

#include <cstdint>

class MainScreen;
struct ScreenContext;

// What the user does to one channel on the main screen: rename it, type, step or slide its
// intensity, switch it. Every intensity change goes to the unit as all nine levels at once.
class ChannelActions {
public:
    ChannelActions(ScreenContext& context, MainScreen& screen) : ctx_(context), screen_(screen) {}

    void RenameChannel(int panel);
    void TypeIntensity(int panel);
    void StepUp(int panel);
    void StepDown(int panel);
    void ToggleSwitch(int panel);
    // A slider of panel k was pressed or released at position (0 = top = full intensity).
    void SliderChanged(int panel, int position);

    // SetIntensityLevel with the nine levels, when the unit is there.
    void SendIntensities();

private:
    uint16_t MinimumLevel(int panel) const;

    ScreenContext& ctx_;
    MainScreen& screen_;
};
