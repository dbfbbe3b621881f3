#include "MainScreen.h"

#include "CError.h"
#include "CMainSliderCtrl.h"
#include "CTextEntry.h"
#include "LedName.h"
#include "LedSliders.h"
#include "MainScreenLayout.h"
#include "MenuButtons.h"
#include "NumberEntry.h"
#include "PanelPainter.h"
#include "PanelSettings.h"
#include "PanelStyle.h"
#include "Prompts.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "UnitSession.h"

#include <QObject>

namespace {

using namespace mainlayout;

// A panel button's row, placed at the panel's left edge.
ButtonRow PanelRow(int panel, const layout::Button& element, std::function<void()> action) {
    ButtonRow row;
    row.place = element.place.movedBy(PanelLeft(panel));
    row.region = row.place.region();
    row.normalPicture = element.picture;
    row.pressedPicture = element.pressedPicture;
    row.action = std::move(action);
    return row;
}

// The pictures every panel shows under its texts, in drawing order.
constexpr layout::Picture kPanelPictures[] = {{kNameField.picture, kNameField.place},
                                              {kValueBox.picture, kValueBox.place},
                                              {kUpArrow.picture, kUpArrow.place},
                                              {kDownArrow.picture, kDownArrow.place},
                                              kScaleTop,
                                              kScaleBottom};

static_assert(static_cast<uint8_t>(WarningPopup::AlarmActive) == CError::AlarmActive);
static_assert(static_cast<uint8_t>(WarningPopup::LightGuideOut) == CError::LightGuideOut);

}  // namespace

MainScreen::MainScreen(ScreenContext& context)
    : Screen(context), actions_(context.session, context.settings) {
    for (int k = 0; k < kPanelCount; ++k) {
        AddPanelRows(k);
        QObject::connect(&ctx_.ledSliders.at(k), &CMainSliderCtrl::SliderChanged, &ctx_.ledSliders.at(k),
                         [this, k] { SliderChanged(k); });
    }
    buttons_.resize(Exit);  // 54 and 55: no button
    AddMenuRows();
}

void MainScreen::AddPanelRows(int k) {
    const auto titled = [this, k](const char* purpose) {
        return [this, k, purpose] { return ChannelTitle(k) + QLatin1String(purpose); };
    };
    ButtonRow nameField = PanelRow(k, kNameField, [this, k] { Rename(k); });
    nameField.access.name = [k] { return QStringLiteral("LED %1 name").arg(k + 1); };
    nameField.access.value = [this, k] { return ChannelName(k); };
    buttons_.push_back(std::move(nameField));

    ButtonRow valueBox = PanelRow(k, kValueBox, [this, k] { TypeIntensity(k); });
    valueBox.access.name = titled(" intensity entry");
    valueBox.access.value = [this, k] {
        return ShowsLevel(k) ? IntensityValue(ctx_.session.table().channelAtPanel(k).intensity) : QString();
    };
    buttons_.push_back(std::move(valueBox));

    ButtonRow upArrow = PanelRow(k, kUpArrow, [this, k] {
        actions_.StepUp(k);
        ShowIntensity(k, false);
    });
    upArrow.access.name = titled(" intensity up");
    buttons_.push_back(std::move(upArrow));

    ButtonRow downArrow = PanelRow(k, kDownArrow, [this, k] {
        actions_.StepDown(k);
        ShowIntensity(k, false);
    });
    downArrow.access.name = titled(" intensity down");
    buttons_.push_back(std::move(downArrow));

    buttons_.emplace_back();
    ButtonRow switchRow = PanelRow(k, kSwitch, [this, k] { ToggleSwitch(k); });
    switchRow.keepOnRelease = true;  // the switch shows the state the unit reports
    switchRow.access.role = ButtonAccess::Role::Toggle;
    switchRow.access.name = [k] { return QStringLiteral("LED %1 on").arg(k + 1); };
    switchRow.access.checked = [this, k] { return IsOn(k); };
    buttons_.push_back(std::move(switchRow));
}

void MainScreen::AddMenuRows() {
    // The menu buttons that leave the main screen, in id order, which is also the drawing order.
    const auto toScreen = [this](int state) { return [this, state] { ctx_.router.ChangeScreen(state); }; };
    const MenuBar bar = {
        {&menubuttons::kExit, true, [this] { ctx_.requests.close(); }},
        {&menubuttons::kGrouping, false, toScreen(screens::kGroupingFirst)},
        {&menubuttons::kTrigger, true,
         [this] {
             // The trigger screen shows what the unit holds now.
             ctx_.session.ReadGroupingAndTrigger();
             ctx_.router.ChangeScreen(screens::kTriggerFirst);
         }},
        {&menubuttons::kMaintenance, true, toScreen(screens::kMaintenance)},
        {&menubuttons::kAlarms, false, toScreen(screens::kAlarms)},
        {&menubuttons::kDemoLoop, true, [this] { RunDemoLoop(); }},
    };
    for (const MenuEntry& entry : bar) {
        buttons_.push_back(MenuRow(entry));
    }
}

void MainScreen::RunDemoLoop() {
    if (!ctx_.requests.runDemoLoop()) {
        return;
    }
    // The focus passes over the sliders after the demo loop, and the main screen comes back.
    ctx_.ledSliders.PassFocusOn();
    ctx_.router.ChangeScreen(screens::kMain);
}

void MainScreen::Moved() {
    // Each slider repaints at its new place.
    ctx_.ledSliders.Refresh();
}

QString MainScreen::IntensityText(uint16_t intensity) {
    // Rounded through single precision, as the unit's own display does.
    const float percent = static_cast<float>(intensity / 10.0);
    return QString::asprintf("%.01f%%", static_cast<double>(percent));
}

QString MainScreen::IntensityValue(uint16_t intensity) {
    return IntensityText(intensity).chopped(1) + QStringLiteral(" %");
}

bool MainScreen::IsFitted(int panel) const {
    return (ctx_.session.table().channelAtPanel(panel).status & rz470::ChannelStatus::Fitted) != 0;
}

bool MainScreen::ShowsLevel(int panel) const {
    const size_t channel = ctx_.session.table().panelMap[static_cast<size_t>(panel)];
    return IsFitted(panel) && !ctx_.session.unit().levelUnknown[channel];
}

bool MainScreen::IsOn(int panel) const {
    return (ctx_.session.table().channelAtPanel(panel).status & rz470::ChannelStatus::LedOn) != 0;
}

void MainScreen::Paint() {
    DrawRows(Exit, DemoLoop);
    DrawChannelPanels();
    ctx_.statusBar.DrawStatusBar(ctx_.session.unit().unitStatus);
}

void MainScreen::Enter() {
    ctx_.ledSliders.Show();
}

void MainScreen::Leave() {
    ctx_.ledSliders.Hide();
}

void MainScreen::DrawChannelPanels() {
    for (int k = 0; k < kPanelCount; ++k) {
        const int x0 = PanelLeft(k);
        for (const layout::Picture& picture : kPanelPictures) {
            ctx_.painter.DrawPicture(picture.id, picture.place.movedBy(x0));
        }
        DrawSwitch(k, IsOn(k));
        if (ShowsLevel(k)) {
            ctx_.painter.DrawLabel(
                ctx_.painter.fonts().large, panelstyle::kValue, x0 + kValueText.x, kValueText.y,
                IntensityText(ctx_.session.table().channelAtPanel(k).intensity), kValueBox.place.movedBy(x0));
        }
        DrawChannelName(k);
    }
}

void MainScreen::DrawChannelName(int panel) {
    // The slider is named after what the panel shows, for assistive technology.
    ctx_.ledSliders.SetName(panel, ChannelTitle(panel) + QStringLiteral(" intensity"));
    if (!IsFitted(panel)) {
        return;
    }
    const ButtonRow& field = buttons_[static_cast<size_t>(kButtonsPerPanel * panel + NameField)];
    DrawButtonRow(ctx_.painter, field, false, false);
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, PanelLeft(panel) + kNameText.x,
                           kNameText.y, ChannelName(panel), field.place);
}

void MainScreen::DrawSwitch(int panel, bool on) {
    const bool triggered = ctx_.session.table().channelAtPanel(panel).triggered != 0;
    const int picture = triggered ? (on ? kTriggeredOnPicture : kTriggeredOffPicture)
                                  : (on ? kSwitch.pressedPicture : kSwitch.picture);
    ctx_.painter.DrawPicture(picture, kSwitch.place.movedBy(PanelLeft(panel)));
}

void MainScreen::ShowAndSaveIntensity(int panel, bool fromSlider) {
    ShowIntensity(panel, fromSlider);
    if (ShowsLevel(panel)) {
        const rz470::ChannelRecord& record = ctx_.session.table().channelAtPanel(panel);
        ctx_.settings.SetChannelIntensity(record.wavelength, record.intensity);
    }
}

void MainScreen::ShowIntensity(int panel, bool fromSlider) {
    const rz470::ChannelRecord& record = ctx_.session.table().channelAtPanel(panel);
    if (!fromSlider) {
        ctx_.ledSliders.SetPosition(panel, rz470::kMaxIntensity - record.intensity);
    }
    DrawButtonRow(ctx_.painter, buttons_[static_cast<size_t>(kButtonsPerPanel * panel + ValueBox)], false,
                  false);
    // A level the panel does not know is neither shown nor stored; the slider rests at the bottom.
    if (!ShowsLevel(panel)) {
        return;
    }
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, PanelLeft(panel) + kValueText.x,
                           kValueText.y, IntensityText(record.intensity),
                           kValueBox.place.movedBy(PanelLeft(panel)));
}

void MainScreen::DrawPressed(int id) {
    if (id < Exit && id % kButtonsPerPanel == Switch) {
        // The pressed switch shows the state the click asks for.
        DrawSwitch(id / kButtonsPerPanel, !IsOn(id / kButtonsPerPanel));
        return;
    }
    Screen::DrawPressed(id);
}

void MainScreen::Rename(int panel) {
    DrawChannelName(panel);
    const rz470::ChannelRecord& record = ctx_.session.table().channelAtPanel(panel);
    CTextEntry entry(&ctx_.window);
    entry.m_name = LedName::FromNarrow(record.name);
    entry.m_wavelength = record.wavelength;
    entry.m_rangeLow = record.rangeLow;
    entry.m_rangeHigh = record.rangeHigh;
    entry.m_unitVersion = ctx_.session.unit().firmwareVersion;
    ctx_.prompts.runTextEntry(entry);
    // Cancel, or OK on the name as shown, leaves the name as it is now: a script may have
    // renamed the channel meanwhile.
    if (entry.m_entered) {
        actions_.Rename(panel, entry.m_name);
    }
    DrawChannelName(panel);
}

void MainScreen::TypeIntensity(int panel) {
    // The value comes back, and is stored again, before the entry opens.
    ShowAndSaveIntensity(panel, true);
    NumberEntry entry(ctx_.prompts, &ctx_.window);
    entry.m_decimalMode = 1;
    entry.m_decimalValue = static_cast<float>(ctx_.session.table().channelAtPanel(panel).intensity / 10.0f);
    ctx_.prompts.runNumberEntry(entry);
    // Cancel, or OK on the level shown at the opening, sends and stores nothing: a script or the
    // unit's knob may have changed the level meanwhile, and an unknown level opens as 0.
    if (!entry.m_entered) {
        return;
    }
    if (actions_.SetTypedLevel(panel, entry.m_decimalValue).changed()) {
        ShowIntensity(panel, false);
    }
}

void MainScreen::Tell(const ActionResult& result) {
    if (result.popup) {
        ctx_.prompts.showError(ctx_.errorPopup, static_cast<uint8_t>(*result.popup));
    }
}

void MainScreen::ToggleSwitch(int panel) {
    const bool on = IsOn(panel);
    const ActionResult result = actions_.ToggleSwitch(panel);
    if (result.outcome != ActionOutcome::Done) {
        // The pressed look asked for a state the unit never got; the poll would not correct it
        // when the channel's status does not change. Put back before any popup, which would
        // otherwise stand over a switch showing what was refused.
        DrawSwitch(panel, on);
    }
    Tell(result);
}

void MainScreen::SliderChanged(int panel) {
    const int position = ctx_.ledSliders.at(panel).value();
    if (position < 0 || position > rz470::kMaxIntensity) {
        return;
    }
    if (actions_.SetShownLevel(panel, static_cast<uint16_t>(rz470::kMaxIntensity - position)).changed()) {
        ShowIntensity(panel, true);
    }
}
