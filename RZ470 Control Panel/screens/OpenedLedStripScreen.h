#pragma once

#include "OpenedLedStrip.h"
#include "Screen.h"

#include <QString>

#include <functional>
#include <optional>
#include <vector>

// How a screen's strip looks: its closed and opened panel pictures, and the screen state that
// opens LED 1 (the state + k opens LED k + 1).
struct StripLook {
    int closedPicture, closedHeight;
    int openedPicture, openedHeight;
    int firstState;
    // LED 9, closed at the right end, reacts over its whole width.
    bool lastPanelFullWidth;
};

// A screen built on the strip of nine LED panels with one opened for editing, one object for the
// nine variants: entering it opens the LED its screen state names and builds that variant's
// button table. It paints the strip, writes names and values into the panels, and gives the
// rows of the panels and of the opened panel's controls.
class OpenedLedStripScreen : public Screen {
public:
    OpenedLedStripScreen(ScreenContext& context, const StripLook& look);

    // Opens the LED the screen state names and builds its table.
    void Enter() override;
    // The panel position opened, 0..8.
    int OpenedLed() const { return opened_; }
    // The panels in turn, the opened panel's controls right after its own.
    std::vector<int> ReadingOrder() const override;
    // The screen shows the tables: all of it again, the mode switches and favourites too.
    void ShowTablesChanged() override;

protected:
    // The button table of the variant with OpenedLed() opened.
    virtual void BuildButtons() = 0;
    // The ids of the opened panel's controls, in the order a reader takes them.
    virtual std::vector<int> OpenedControls() const = 0;
    // The values a panel shows, as told to assistive technology.
    virtual QString PanelValue(int panel) = 0;

    int PanelLeft(int panel) const { return openedstrip::PanelLeft(panel, opened_); }
    int OpenedLeft() const { return PanelLeft(opened_); }
    // The channel a panel position shows; the opened panel edits OpenedChannel().
    size_t ChannelAt(int panel) const;
    size_t OpenedChannel() const { return ChannelAt(opened_); }
    bool IsFitted(int panel) const;

    // The nine panels, closed and opened.
    void DrawStrip();
    // The nine panel rows, LED 1 first: a click on a panel's name strip opens that panel.
    void AddPanelRows();
    // A row of the opened panel's CLEAR button with its caption at captionDx from the panel's edge.
    ButtonRow ClearRow(const char* caption, int captionDx, std::function<void()> action) const;
    ButtonRow ArrowRow(const layout::Button& arrow, const openedstrip::ValueRow& row,
                       std::function<void()> action) const;
    // The opened panel's field of a row: its picture blanks it while pressed.
    ButtonRow FieldRow(const openedstrip::ValueRow& row, std::function<void()> action) const;
    // The row named for the opened panel's channel and its purpose: "Blue 470 group number up".
    ButtonRow ForOpenedChannel(ButtonRow row, const char* purpose);
    // A place of the opened panel's layout at the opened panel, at height y.
    layout::Place OpenedPlace(const layout::Place& place, int y) const;

    // The whole-number entry dialog, opened on shown; the number the user entered, none after
    // Cancel or an OK on the number shown, which may be out of date by then.
    std::optional<int> EnteredNumber(int shown);

    // The channel's name on its panel.
    void DrawName(int panel);
    // A value of a row in its panel's field, the field blanked first when asked.
    void DrawValue(int panel, const openedstrip::ValueRow& row, const QString& text, bool blankFirst);

private:
    ButtonRow OpenedRow(const layout::Button& button, int y, std::function<void()> action) const;

    StripLook look_;
    int opened_ = 0;
    int firstPanelRow_ = 0;
};
