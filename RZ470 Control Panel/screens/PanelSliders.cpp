#include "PanelSliders.h"

#include "CMainSliderCtrl.h"

namespace {

std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> MakeSliders(QWidget& window) {
    std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount> sliders;
    for (auto& slider : sliders) {
        slider = std::make_unique<CMainSliderCtrl>(&window);
        slider->hide();
    }
    return sliders;
}

std::array<CMainSliderCtrl*, kLedSliderCount> LedSlidersOf(
    const std::array<std::unique_ptr<CMainSliderCtrl>, kSliderCount>& sliders) {
    std::array<CMainSliderCtrl*, kLedSliderCount> led{};
    for (size_t k = 0; k < led.size(); ++k) {
        led[k] = sliders[k].get();
    }
    return led;
}

}  // namespace

PanelSliders::PanelSliders(QWidget& window)
    : sliders_(MakeSliders(window)), led_(LedSlidersOf(sliders_), *sliders_[kLedSliderCount]) {}

PanelSliders::~PanelSliders() = default;

void PanelSliders::Configure() {
    for (size_t i = 0; i < sliders_.size(); ++i) {
        ConfigureSlider(*sliders_[i], kSliderSetups[i]);
    }
}
