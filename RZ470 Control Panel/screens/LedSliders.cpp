#include "LedSliders.h"

#include "CMainSliderCtrl.h"

LedSliders::LedSliders(const std::array<CMainSliderCtrl*, kLedSliderCount>& sliders, QWidget& focusSink)
    : sliders_(sliders), focusSink_(focusSink) {
    for (CMainSliderCtrl* slider : sliders_) {
        // The slider's value is its position, which runs the other way from the intensity.
        slider->setAccessibleDescription(
            QStringLiteral("Position 0 at the top is 100 %, 1000 at the bottom 0 %"));
    }
}

void LedSliders::Show() const {
    for (CMainSliderCtrl* slider : sliders_) {
        slider->show();
    }
}

void LedSliders::Hide() const {
    for (CMainSliderCtrl* slider : sliders_) {
        slider->hide();
    }
}

void LedSliders::Refresh() const {
    Hide();
    Show();
}

void LedSliders::PassFocusOn() const {
    for (CMainSliderCtrl* slider : sliders_) {
        slider->setFocus();
    }
    focusSink_.setFocus();
}

void LedSliders::SetPosition(int panel, int position) const {
    if (panel >= 0 && panel < kLedSliderCount) {
        at(panel).setValue(position);
        at(panel).update();
    }
}

void LedSliders::SetName(int panel, const QString& name) const {
    if (panel >= 0 && panel < kLedSliderCount && at(panel).accessibleName() != name) {
        at(panel).setAccessibleName(name);
    }
}
