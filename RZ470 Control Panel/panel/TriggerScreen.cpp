#include "TriggerScreen.h"

#include "MenuButtons.h"
#include "NumberEntry.h"
#include "PanelPainter.h"
#include "PanelSettings.h"
#include "PanelStyle.h"
#include "Prompts.h"
#include "ScreenRouter.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "TriggerLayout.h"
#include "UnitSession.h"

#include <QString>

#include <limits>

using namespace triggerlayout;

namespace {

constexpr StripLook kTriggerStrip{kClosedPanelPicture, kClosedPanelHeight,     kOpenedPanelPicture,
                                  kOpenedPanelHeight,  screens::kTriggerFirst, false};

// The arrows keep a timeout at 0 (off) or at 5 minutes and above; only units from version 120
// on take 0 from the arrows.
constexpr uint16_t kShortestTimeout = 5;
constexpr uint16_t kTimeoutOffFromVersion = 120;
// The up arrow stops here: wrapping to 0 would turn the timeout off unasked.
constexpr uint16_t kLongestTimeout = std::numeric_limits<uint16_t>::max();
// Sequence numbers the unit takes; 0 leaves the LED out.
constexpr uint8_t kLastSequenceStep = 9;

}  // namespace

TriggerScreen::TriggerScreen(ScreenContext& context) : OpenedLedStripScreen(context, kTriggerStrip) {
    BuildButtons();
}

GroupingAndTrigger& TriggerScreen::tables() {
    return ctx_.session.tables();
}

uint16_t& TriggerScreen::OpenedTimeout() {
    return tables().ttlTimeout[OpenedChannel()];
}

uint8_t& TriggerScreen::OpenedSequence() {
    return tables().triggerSequence[OpenedChannel()];
}

void TriggerScreen::BuildButtons() {
    using namespace menubuttons;
    const auto toScreen = [this](int state) { return [this, state] { ctx_.router.ChangeScreen(state); }; };
    const openedstrip::ValueRow timeoutRow = TimeoutRow(OpenedLed());
    const openedstrip::ValueRow sequenceRow = SequenceRow(OpenedLed());
    buttons_.push_back(MenuRow({&kReturnToMain, true, toScreen(screens::kMain)}));
    buttons_.push_back(MenuRow({&kGrouping, false, toScreen(screens::kGroupingFirst + OpenedLed())}));
    AddPanelRows();
    buttons_.push_back(ClearRow("CLEAR TRIGGER", kClearCaptionDx, [this] { ClearSequence(); }));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kDownArrow, timeoutRow, [this] { StepTimeoutDown(); }), " TTL timeout down"));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kUpArrow, timeoutRow, [this] { StepTimeoutUp(); }), " TTL timeout up"));
    buttons_.push_back(
        ForOpenedChannel(ArrowRow(openedstrip::kDownArrow, sequenceRow, [this] { StepSequenceDown(); }),
                         " trigger sequence down"));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kUpArrow, sequenceRow, [this] { StepSequenceUp(); }), " trigger sequence up"));
    ButtonRow timeoutField =
        ForOpenedChannel(FieldRow(timeoutRow, [this] { EnterTimeout(); }), " TTL timeout");
    timeoutField.access.value = [this] { return TimeoutText(OpenedTimeout()); };
    buttons_.push_back(std::move(timeoutField));
    ButtonRow sequenceField =
        ForOpenedChannel(FieldRow(sequenceRow, [this] { EnterSequence(); }), " trigger sequence");
    sequenceField.access.value = [this] { return QString::number(OpenedSequence()); };
    buttons_.push_back(std::move(sequenceField));
    buttons_.push_back(MenuRow({&kMaintenance, true, toScreen(screens::kMaintenance)}));
    buttons_.push_back(MenuRow({&kAlarms, false, toScreen(screens::kAlarms)}));
}

std::vector<int> TriggerScreen::OpenedControls() const {
    return {ClearTrigger, TimeoutField, TimeoutDown, TimeoutUp, SequenceField, SequenceDown, SequenceUp};
}

QString TriggerScreen::PanelValue(int panel) {
    const size_t channel = ChannelAt(panel);
    return TimeoutText(tables().ttlTimeout[channel]) +
           QStringLiteral(", sequence %1").arg(tables().triggerSequence[channel]);
}

QString TriggerScreen::TimeoutText(uint16_t timeout) {
    return QString::number(timeout) + QStringLiteral(" min");
}

void TriggerScreen::Paint() {
    PaintTriggerEditor();
    PaintTriggerScreen();
    ctx_.statusBar.DrawStatusBar(ctx_.session.unit().unitStatus);
    PaintTriggerValues(false);
}

void TriggerScreen::PaintTriggerEditor() {
    DrawStrip();
    DrawRows(ClearTrigger, SequenceUp);
}

void TriggerScreen::PaintTriggerScreen() {
    DrawRows(ReturnToMain, Grouping);
    DrawRows(Maintenance, Alarms);
    PanelPainter& painter = ctx_.painter;
    for (const Instruction& instruction : kInstructions) {
        painter.DrawLabel(painter.fonts().small, panelstyle::kHeading, instruction.x, instruction.y,
                          QString::fromUtf8(instruction.text));
    }
}

void TriggerScreen::PaintTriggerValues(bool valuesOnly) {
    const openedstrip::ValueRow timeoutRow = TimeoutRow(OpenedLed());
    const openedstrip::ValueRow sequenceRow = SequenceRow(OpenedLed());
    for (int i = 0; i < rz470::kChannelCount; ++i) {
        if (!IsFitted(i)) {
            continue;
        }
        if (!valuesOnly) {
            DrawName(i);
        }
        const size_t channel = ChannelAt(i);
        const uint16_t timeout = tables().ttlTimeout[channel];
        DrawValue(i, timeoutRow, i == OpenedLed() ? TimeoutText(timeout) : QString::number(timeout),
                  valuesOnly);
        DrawValue(i, sequenceRow, QString::number(tables().triggerSequence[channel]), valuesOnly);
    }
}

void TriggerScreen::ApplyTimeouts() {
    if (!ctx_.session.ApplyUnitSetting(UnitSetting::TtlTimeouts)) {
        return;
    }
    const UnitSlot& unit = ctx_.session.unit();
    for (size_t channel = 0; channel < static_cast<size_t>(rz470::kChannelCount); ++channel) {
        ctx_.settings.SetTriggerOnValue(unit.channels[channel].wavelength, unit.channels[channel].onValue);
    }
}

void TriggerScreen::ApplySequence() {
    if (!ctx_.session.ApplyUnitSetting(UnitSetting::TriggerSequence)) {
        return;
    }
    for (int channel = 0; channel < rz470::kChannelCount; ++channel) {
        ctx_.settings.SetTriggerStep(channel, tables().triggerSequence[static_cast<size_t>(channel)]);
    }
}

void TriggerScreen::ClearSequence() {
    OpenedSequence() = 0;
    PaintTriggerValues(true);
    ApplySequence();
}

void TriggerScreen::StepTimeoutDown() {
    uint16_t& timeout = OpenedTimeout();
    if (timeout > kShortestTimeout) {
        --timeout;
        ApplyTimeouts();
    } else if (ctx_.session.unit().firmwareVersion >= kTimeoutOffFromVersion) {
        timeout = 0;
        ApplyTimeouts();
    }
    PaintTriggerValues(true);
}

void TriggerScreen::StepTimeoutUp() {
    uint16_t& timeout = OpenedTimeout();
    if (timeout < kLongestTimeout) {
        timeout = timeout == 0 ? kShortestTimeout : static_cast<uint16_t>(timeout + 1);
        ApplyTimeouts();
    }
    PaintTriggerValues(true);
}

void TriggerScreen::StepSequenceDown() {
    if (OpenedSequence() > 0) {
        --OpenedSequence();
        ApplySequence();
    }
    PaintTriggerValues(true);
}

void TriggerScreen::StepSequenceUp() {
    if (OpenedSequence() < kLastSequenceStep) {
        ++OpenedSequence();
        ApplySequence();
    }
    PaintTriggerValues(true);
}

void TriggerScreen::EnterTimeout() {
    NumberEntry entry(ctx_.prompts, &ctx_.window);
    entry.m_decimalMode = 0;
    entry.m_value = OpenedTimeout();
    ctx_.prompts.runNumberEntry(entry);
    // Taken however the entry closed, 0 included on any unit; sent, but not recorded.
    OpenedTimeout() = entry.m_value;
    ctx_.session.ApplyUnitSetting(UnitSetting::TtlTimeouts);
    PaintTriggerValues(true);
}

void TriggerScreen::EnterSequence() {
    NumberEntry entry(ctx_.prompts, &ctx_.window);
    entry.m_decimalMode = 0;
    entry.m_value = OpenedSequence();
    ctx_.prompts.runNumberEntry(entry);
    // A number the unit has no step for is dropped unannounced; a taken one is sent, not recorded.
    if (entry.m_value <= kLastSequenceStep) {
        OpenedSequence() = static_cast<uint8_t>(entry.m_value);
        ctx_.session.ApplyUnitSetting(UnitSetting::TriggerSequence);
    }
    PaintTriggerValues(true);
}
