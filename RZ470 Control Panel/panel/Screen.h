#pragma once

#include "HitRegion.h"

class CError;
class QWidget;
struct DeviceApi;
struct GroupingState;
class PanelPainter;
class ProfileStore;
class Prompts;
class StatusBar;
class UnitTable;

// What the screens ask of the main dialog.
class ScreenHost {
public:
    virtual ~ScreenHost() = default;
    virtual int ScreenState() const = 0;
    // Sets the screen state and paints the new screen at once.
    virtual void ChangeScreen(int state) = 0;
    virtual void ShowLedSliders() = 0;
    virtual void HideLedSliders() = 0;
    // Puts slider k at a position from code and lets it repaint there.
    virtual void SetSliderPosition(int panel, int position) = 0;
    virtual void SendCloseMessage() = 0;
    virtual void RunDemoLoop() = 0;
    // The window the panel's dialogs open over, and the reusable error popup.
    virtual QWidget* Window() = 0;
    virtual CError& ErrorPopup() = 0;
};

// Everything the screens share.
struct ScreenContext {
    PanelPainter& painter;
    StatusBar& statusBar;
    UnitTable& table;
    DeviceApi& api;
    GroupingState& grouping;
    ProfileStore& profile;
    Prompts& prompts;
    ScreenHost& host;
};

// One painted screen: its buttons, its painter, its press looks and its release actions.
class Screen {
public:
    explicit Screen(ScreenContext& context) : ctx_(context) {}
    virtual ~Screen() = default;
    Screen(const Screen&) = delete;
    Screen& operator=(const Screen&) = delete;

    virtual const ButtonTable& Buttons() const = 0;
    // Everything of the screen after the background.
    virtual void Paint() = 0;
    // The look of button id while it is held: its pressed picture, and what the screen adds.
    virtual void DrawPressed(int id);
    // The release of button id (kNoButton when the press hit nothing): its drawing and action.
    virtual void Release(int id) = 0;

protected:
    void DrawRegion(const HitRegion& region, bool pressed);

    ScreenContext& ctx_;
};
