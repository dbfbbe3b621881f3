#pragma once

#include "ActionResult.h"

#include <QString>

#include <cstddef>
#include <cstdint>
#include <vector>

class PanelSettings;
class UnitSession;
namespace rz470 {
struct ChannelRecord;
}

// What is done to one channel, by panel position (0..8): its name, its intensity typed, stepped
// or slid, its switch. Each changes the channel, tells the unit and stores what the panel keeps;
// every intensity goes to the unit as all nine levels at once. What is drawn, asked or told is
// the caller's business.
class ChannelActions {
public:
    ChannelActions(UnitSession& session, PanelSettings& settings) : session_(session), settings_(settings) {}

    // The channel's name, kept by wavelength. A name too long for the channel (a long one the
    // unit reported, handed back by a cancelled entry) leaves it as it was, and that is stored.
    ActionResult Rename(int panel, const QString& name);
    // A typed percentage; sent even when it is the level the channel has.
    ActionResult SetTypedLevel(int panel, float percent);
    // The same percentage typed for several panels, sent once for all of them; refused, with
    // nothing held or sent, when a panel does not take it.
    ActionResult SetTypedLevels(const std::vector<int>& panels, float percent);
    // A level the panel already shows (the slider's position); nothing is sent when the channel
    // has it already, so a press and release without movement sends once.
    ActionResult SetShownLevel(int panel, uint16_t level);
    // One arrow step, sent whether or not it moved the level.
    ActionResult StepUp(int panel);
    ActionResult StepDown(int panel);
    // Asks the unit to switch the channel to the other state; its new state comes with the
    // next status read. Until then the shown copy holds the state asked for, so a unit that did
    // not follow differs from it and is drawn again as it is. An alarm or the light guide out
    // refuses switching on, never off.
    ActionResult ToggleSwitch(int panel);
    // Asks the unit for one state, whatever the channel shows now: a script's on and off, which
    // must not turn into their opposite while an earlier switch is still on its way.
    ActionResult Switch(int panel, bool on);

private:
    static bool IsPanel(int panel);
    rz470::ChannelRecord& Channel(int panel);
    uint16_t MinimumLevel(int panel);
    size_t ChannelIndex(int panel) const;
    // The user's level for the panel's channel, known from here on.
    void HoldLevel(int panel, uint16_t level);
    // Sends the nine levels and stores the panels', as each channel's wavelength keeps it.
    ActionResult SendAndStore(int panel) { return SendAndStore(std::vector<int>{panel}); }
    ActionResult SendAndStore(const std::vector<int>& panels);

    UnitSession& session_;
    PanelSettings& settings_;
};
