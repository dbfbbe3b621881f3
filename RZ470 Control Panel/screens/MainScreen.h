#pragma once

#include "ChannelActions.h"
#include "Screen.h"

#include <QString>

// The nine channel panels with the status bar above and the menu bar below.
class MainScreen : public Screen {
public:
    // Button ids of panel k are 6k + offset; offset 4 and ids 54 and 55 carry no button.
    enum PanelButton { NameField = 0, ValueBox = 1, UpArrow = 2, DownArrow = 3, Switch = 5 };
    static constexpr int kButtonsPerPanel = 6;
    enum MenuId { Exit = 56, Grouping = 57, Trigger = 58, Maintenance = 59, Alarms = 60, DemoLoop = 61 };

    explicit MainScreen(ScreenContext& context);

    // "%.01f%%" of intensity / 10: 1000 → "100.0%", 5 → "0.5%".
    static QString IntensityText(uint16_t intensity);
    // The same number as a value told to assistive technology: "37.3 %".
    static QString IntensityValue(uint16_t intensity);

    void Paint() override;
    void Enter() override;
    void Leave() override;
    void DrawPressed(int id) override;
    bool ForgetsPressOnRelease() const override { return true; }
    void Moved() override;

    void DrawChannelPanels();
    void DrawSwitch(int panel, bool on) override;
    void ShowAndSaveIntensity(int panel, bool fromSlider) override;
    // The level as ShowAndSaveIntensity shows it, for a level an action has stored already.
    void ShowIntensity(int panel, bool fromSlider);
    void DrawChannelName(int panel) override;

private:
    void AddPanelRows(int panel);
    void AddMenuRows();
    // The DEMO LOOP button: the demo loop, then the main screen again.
    void RunDemoLoop();
    bool IsFitted(int panel) const;
    // Fitted, with a level the panel knows.
    bool ShowsLevel(int panel) const;
    bool IsOn(int panel) const;
    void Rename(int panel);
    void TypeIntensity(int panel);
    void ToggleSwitch(int panel);
    void SliderChanged(int panel);
    // The warning popup of a refusal that tells one.
    void Tell(const ActionResult& result);

    ChannelActions actions_;
};
