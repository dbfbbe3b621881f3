#pragma once

#include <QString>

#include <cstdint>
#include <optional>

// How an action ended. Done and UnitAbsent changed what the panel holds; every other outcome
// left it as it was.
enum class ActionOutcome : uint8_t {
    Done,
    UnitAbsent,  // kept by the panel but not sent: the unit did not answer, or a level is unknown
    Unchanged,   // already at the end the step goes to, or the level it had
    OutOfRange,  // a value the control does not take
    Triggered,
    NotFitted,
    AlarmActive,
    LightGuideOut,
    ListFull,
    NameTaken,
    NotListed,  // no favourite of that name, or it went meanwhile
};

// The warning popups, by the code the popup draws.
enum class WarningPopup : uint8_t { AlarmActive = 0, LightGuideOut = 1 };

// What an action did, and what the panel tells the user about it: a warning popup or a message
// box, or nothing.
struct ActionResult {
    ActionOutcome outcome = ActionOutcome::Done;
    std::optional<WarningPopup> popup;
    QString message;
    QString title;

    bool changed() const { return outcome == ActionOutcome::Done || outcome == ActionOutcome::UnitAbsent; }
    bool refused() const { return !changed(); }
    bool tells() const { return popup.has_value() || !message.isEmpty(); }

    static ActionResult Sent(bool unitTookIt) {
        return {unitTookIt ? ActionOutcome::Done : ActionOutcome::UnitAbsent, std::nullopt, {}, {}};
    }
    static ActionResult Refused(ActionOutcome why) { return {why, std::nullopt, {}, {}}; }
};
