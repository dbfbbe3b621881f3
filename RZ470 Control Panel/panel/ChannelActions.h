#pragma once

#include <cstdint>

class CError;
class PanelSettings;
class Prompts;
class QWidget;
class UnitSession;
namespace rz470 {
struct ChannelRecord;
}

// What the user does to one channel on the main screen: rename it, type, step or slide its
// intensity, switch it. Changes the channel and tells the unit; what is drawn afterwards is the
// screen's business. Every intensity change goes to the unit as all nine levels at once.
class ChannelActions {
public:
    ChannelActions(UnitSession& session, PanelSettings& settings, Prompts& prompts, QWidget& window,
                   CError& errorPopup)
        : session_(session),
          settings_(settings),
          prompts_(prompts),
          window_(window),
          errorPopup_(errorPopup) {}

    // The channel's name from the text entry, kept by wavelength.
    void RenameChannel(int panel);
    // The level from the number entry; true when it was taken and sent.
    bool TypeIntensity(int panel);
    // One arrow step; the caller shows the level, then sends it.
    void StepUp(int panel);
    void StepDown(int panel);
    // A slider of panel k was pressed or released at position (0 = top = full intensity); true
    // when the level changed and was sent.
    bool SliderChanged(int panel, int position);
    // True when the switch command went out; false when it was refused, and the switch must show
    // the channel's state again.
    bool ToggleSwitch(int panel);

private:
    rz470::ChannelRecord& Channel(int panel);
    uint16_t MinimumLevel(int panel);
    bool LevelUnknown(int panel);
    // The user's level for the panel's channel, known from here on.
    void HoldLevel(int panel, uint16_t level);

    UnitSession& session_;
    PanelSettings& settings_;
    Prompts& prompts_;
    QWidget& window_;
    CError& errorPopup_;
};
