#pragma once

#include "OpenedLedStripScreen.h"
#include "TriggerEdits.h"

#include <cstdint>

struct GroupingAndTrigger;

// The trigger screen, screen states 2..10: the LED strip with one panel opened to edit its TTL
// timeout and its trigger sequence number, and the instructions. Every edit goes to the unit at
// once as the nine values of its kind.
class TriggerScreen : public OpenedLedStripScreen {
public:
    // Button ids; the nine panels follow RETURN TO MAIN SCREEN and GROUPING, LED 1 first.
    enum ButtonId {
        ReturnToMain = 0,
        Grouping = 1,
        FirstPanel = 2,
        ClearTrigger = FirstPanel + 9,
        TimeoutDown,
        TimeoutUp,
        SequenceDown,
        SequenceUp,
        TimeoutField,
        SequenceField,
        Maintenance,
        Alarms,
    };

    explicit TriggerScreen(ScreenContext& context);

    void Paint() override;

    // The strip with the opened panel's CLEAR TRIGGER button and arrows.
    void PaintTriggerEditor();
    // The menu bar and the instructions.
    void PaintTriggerScreen();
    // The names, timeouts and sequence numbers; valuesOnly blanks the number fields and writes
    // only numbers.
    void PaintTriggerValues(bool valuesOnly);

private:
    // A timeout as the opened panel writes it.
    static QString TimeoutText(uint16_t timeout);

    void BuildButtons() override;
    std::vector<int> OpenedControls() const override;
    QString PanelValue(int panel) override;
    GroupingAndTrigger& tables();
    uint16_t OpenedTimeout();
    uint8_t OpenedSequence();
    // One edit of the opened LED's values (clear, or an arrow's step), then its values drawn again.
    void EditOpened(ActionResult (TriggerEdits::*edit)(size_t));
    void EnterTimeout();
    void EnterSequence();

    TriggerEdits edits_;
};
