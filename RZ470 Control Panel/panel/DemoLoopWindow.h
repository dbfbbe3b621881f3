#pragma once

#include <functional>
#include <memory>

class CDemo;
class PanelSettings;
class Prompts;
class QWidget;
class UnitSession;
class Waits;

// The demo-loop dialog over the panel window: made at its first use, since most sessions never
// open it; opened modally with the channels' names; left without a word when the panel ends.
class DemoLoopWindow {
public:
    // panelShown tells whether the panel window is still up to take the keyboard back.
    DemoLoopWindow(UnitSession& session, PanelSettings& settings, Prompts& prompts, Waits& waits,
                   QWidget& panel, std::function<bool()> panelShown);
    ~DemoLoopWindow();
    DemoLoopWindow(const DemoLoopWindow&) = delete;
    DemoLoopWindow& operator=(const DemoLoopWindow&) = delete;

    CDemo& dialog();
    // Whether the loop runs now; a dialog never made runs none.
    bool IsRunning() const;
    // The dialog, modally; the panel window is active again after it.
    void Open();
    // A loop left running would keep switching a unit that is gone, and its dialog, which cannot
    // be left while the loop runs, would keep the panel from ending.
    void Abandon();

private:
    void TakeBackActivation();

    UnitSession& session_;
    PanelSettings& settings_;
    Prompts& prompts_;
    Waits& waits_;
    QWidget& panel_;
    std::function<bool()> panelShown_;
    std::unique_ptr<CDemo> demo_;
};
