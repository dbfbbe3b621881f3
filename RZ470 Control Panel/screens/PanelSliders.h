#pragma once

#include "LedSliders.h"
#include "SliderSetup.h"

#include <array>
#include <memory>

class CMainSliderCtrl;
class QWidget;

// The window's twelve sliders, hidden children of it until a screen shows them: the nine
// intensity sliders, which the main screen uses, and the three unit-setting ones, never shown.
class PanelSliders {
public:
    explicit PanelSliders(QWidget& window);
    ~PanelSliders();
    PanelSliders(const PanelSliders&) = delete;
    PanelSliders& operator=(const PanelSliders&) = delete;

    // Places and configures each slider from its set-up.
    void Configure();
    // The intensity slider of panel k (0..8), or a unit-setting slider (9..11).
    CMainSliderCtrl& at(int index) const { return *sliders_[static_cast<size_t>(index)]; }
    LedSliders& led() { return led_; }

private:
    std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> sliders_;
    LedSliders led_;
};
