#pragma once

#include "SliderSetup.h"

#include <QString>

#include <array>

class CMainSliderCtrl;
class QWidget;

// The nine intensity sliders beside the main screen's panels, as the main screen uses them. The
// window owns them, and the hidden widget the focus leaves them for.
class LedSliders {
public:
    LedSliders(const std::array<CMainSliderCtrl*, kLedSliderCount>& sliders, QWidget& focusSink);

    CMainSliderCtrl& at(int panel) const { return *sliders_[static_cast<size_t>(panel)]; }
    void Show() const;
    void Hide() const;
    // Hidden and shown again, so that each repaints at its place after the window moved.
    void Refresh() const;
    // The focus passes over the nine in turn, then to the hidden sink.
    void PassFocusOn() const;
    // A position set from code, with the slider repainted there.
    void SetPosition(int panel, int position) const;
    // The name assistive technology gives the slider; set only when it changes.
    void SetName(int panel, const QString& name) const;

private:
    std::array<CMainSliderCtrl*, kLedSliderCount> sliders_;
    QWidget& focusSink_;
};
