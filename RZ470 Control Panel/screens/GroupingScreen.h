#pragma once

#include "GroupingEdits.h"
#include "OpenedLedStripScreen.h"

#include <memory>

class FavouriteGroupings;
struct GroupingAndTrigger;

// The grouping screen, screen states 15..23: the LED strip with one panel opened to edit its
// group number, the two compatibility-mode switches, the instructions and the favourite
// groupings. Every edit goes to the unit at once as the six group lists.
class GroupingScreen : public OpenedLedStripScreen {
public:
    // Button ids; the nine panels follow RETURN TO MAIN SCREEN and TTL/Trigger, LED 1 first.
    enum ButtonId {
        ReturnToMain = 0,
        Trigger = 1,
        FirstPanel = 2,
        ClearGrouping = FirstPanel + 9,
        DownArrow,
        UpArrow,
        NumberField,
        Maintenance,
        Alarms,
        PelionSwitch,
        ZephraSwitch,
        LoadSave,
    };

    explicit GroupingScreen(ScreenContext& context);
    ~GroupingScreen() override;

    void Paint() override;
    void Enter() override;
    void Leave() override;
    void DrawPressed(int id) override;
    // The favourites list, just before Load/Save.
    std::vector<FocusWidget> FocusWidgets() const override;

    // The strip with the opened panel's CLEAR GROUPING button and arrows.
    void PaintGroupingEditor();
    // The menu bar, the switches, the texts and the favourites.
    void PaintGroupingScreen();
    // The names and group numbers; valuesOnly blanks the number fields and writes only numbers.
    void PaintGroupingValues(bool valuesOnly);
    // toggle 0 is the PELION switch, 1 the ZEPHRA switch.
    void SwitchGroupingMode(int toggle);

private:
    void BuildButtons() override;
    std::vector<int> OpenedControls() const override;
    QString PanelValue(int panel) override;
    void DrawModeSwitches();
    GroupingAndTrigger& tables();
    uint8_t OpenedGroup();
    void ClearGroup();
    void StepDown();
    void StepUp();
    void EnterGroupNumber();
    void FavouriteOptions();
    // When the unit took the edit, the favourite now in force is shown; the values are shown
    // again either way.
    void ShowEdit(const ActionResult& result);

    GroupingEdits edits_;
    std::unique_ptr<FavouriteGroupings> favourites_;
};
