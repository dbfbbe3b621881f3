#pragma once

#include "ButtonRow.h"
#include "ScreenRedraws.h"

#include <QString>

#include <functional>
#include <vector>

class CError;
class LedSliders;
class PanelPainter;
class PanelSettings;
class Prompts;
class QWidget;
class ScreenNavigation;
class StatusBar;
class UnitSession;

// What only the window does, asked for by a screen's button.
struct WindowRequests {
    // Closes as EXIT does: grouping restored, then the save question.
    std::function<void()> close;
    // The demo-loop dialog, modally; false when the panel ended meanwhile.
    std::function<bool()> runDemoLoop;
};

// Everything the screens share.
struct ScreenContext {
    PanelPainter& painter;
    StatusBar& statusBar;
    UnitSession& session;
    PanelSettings& settings;
    Prompts& prompts;
    ScreenNavigation& router;
    WindowRequests requests;
    QWidget& window;  // the window the panel's dialogs open over
    CError& errorPopup;
    LedSliders& ledSliders;
};

// One painted screen: its button table, its painter, the child widgets it shows, and the poll's
// redraws of what it shows (none by default, but the status icons every screen carries).
class Screen : public ScreenRedraws {
public:
    explicit Screen(ScreenContext& context) : ctx_(context) {}
    ~Screen() override = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    const ButtonTable& Buttons() const { return buttons_; }
    // The values the screen shows beyond its buttons, in reading order; they come before the
    // buttons, which on the screens that have them are the menu bar's.
    const ShownTexts& Texts() const { return texts_; }
    // Everything of the screen after the background.
    virtual void Paint() = 0;
    // The screen becomes the one shown, or stops being it: its child widgets follow.
    virtual void Enter() {}
    virtual void Leave() {}
    // The window system shows the window again (uncovered, restored): what the poll does not keep
    // current is drawn again from the unit's records.
    virtual void Uncovered() {}
    // The window moved on the desktop.
    virtual void Moved() {}
    // The look of button id while it is held: its pressed picture, and its caption again when
    // the row says so.
    virtual void DrawPressed(int id);
    // The release of button id (kNoButton when the press hit nothing): the normal picture back
    // unless the row keeps its look, then the row's action.
    void Release(int id);
    // Whether the press is forgotten once its release has run.
    virtual bool ForgetsPressOnRelease() const { return false; }
    // The ids of the buttons in the order a reader takes them: by default the table's order,
    // but the menu bar last and left to right.
    virtual std::vector<int> ReadingOrder() const;
    // The screen's own child widgets the keyboard visits too, each before the button whose id
    // goes with it.
    struct FocusWidget {
        QWidget* widget;
        int beforeButton;
    };
    virtual std::vector<FocusWidget> FocusWidgets() const { return {}; }

    void DrawSwitch(int, bool) override {}
    void ShowAndSaveIntensity(int, bool) override {}
    void DrawChannelName(int) override {}
    void DrawStatusIcons() override;
    void UpdateAlarmTiles() override {}
    void ShowTablesChanged() override {}

protected:
    // Rows first..last (ids) in their normal look, with their captions.
    void DrawRows(int first, int last);
    // The name the channel at a panel position reports; empty when it is not fitted.
    QString ChannelName(int panel) const;
    // How a panel's buttons are called: its channel's name, or "LED n" when it shows none.
    QString ChannelTitle(int panel) const;

    ScreenContext& ctx_;
    ButtonTable buttons_;
    ShownTexts texts_;
};
