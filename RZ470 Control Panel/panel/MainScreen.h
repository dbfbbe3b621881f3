#pragma once

#include "ChannelActions.h"
#include "Screen.h"

#include <QString>

// The nine channel panels with the status bar above and the menu bar below.
class MainScreen : public Screen {
public:
    // Button ids of panel k are 6k + offset.
    enum PanelButton { NameField = 0, ValueBox = 1, UpArrow = 2, DownArrow = 3, Switch = 5 };
    static constexpr int kButtonsPerPanel = 6;
    enum MenuId { Exit = 56, Grouping = 57, Trigger = 58, Maintenance = 59, Alarms = 60, DemoLoop = 61 };

    explicit MainScreen(ScreenContext& context);

    static int PanelLeft(int panel) { return 3 + 156 * panel; }
    // "%.01f%%" of intensity / 10: 1000 → "100.0%", 5 → "0.5%".
    static QString IntensityText(uint16_t intensity);

    const ButtonTable& Buttons() const override { return buttons_; }
    void Paint() override;
    void DrawPressed(int id) override;
    void Release(int id) override;

    void DrawMenuBar();
    void DrawChannelPanels();
    void DrawChannelName(int panel);
    void DrawSwitch(int panel, bool on);
    void ShowAndSaveIntensity(int panel, bool fromSlider);

    ChannelActions& actions() { return actions_; }

private:
    void HandleMainClick(int id);
    void HandleChannelClick(int panel, int button);
    bool IsFitted(int panel) const;

    ButtonTable buttons_;
    ChannelActions actions_;
};
