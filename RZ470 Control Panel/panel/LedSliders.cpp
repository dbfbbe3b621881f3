#include "LedSliders.h"

#include "CMainSliderCtrl.h"

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

void LedSliders::SetPosition(int panel, int position) const {
    if (panel >= 0 && panel < kLedSliderCount) {
        at(panel).setValue(position);
        at(panel).update();
    }
}
