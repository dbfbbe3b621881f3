#include "TriggerScreen.h"

#include "MenuButtons.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "ScreenNavigation.h"
#include "ScreenStates.h"
#include "StatusBar.h"
#include "TriggerLayout.h"
#include "UnitSession.h"

#include <QString>

using namespace triggerlayout;

namespace {

constexpr StripLook kTriggerStrip{kClosedPanelPicture, kClosedPanelHeight,     kOpenedPanelPicture,
                                  kOpenedPanelHeight,  screens::kTriggerFirst, false};

}  // namespace

TriggerScreen::TriggerScreen(ScreenContext& context)
    : OpenedLedStripScreen(context, kTriggerStrip), edits_(context.session, context.settings) {
    BuildButtons();
}

GroupingAndTrigger& TriggerScreen::tables() {
    return ctx_.session.tables();
}

uint16_t TriggerScreen::OpenedTimeout() {
    return tables().ttlTimeout[OpenedChannel()];
}

uint8_t TriggerScreen::OpenedSequence() {
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
    buttons_.push_back(
        ClearRow("CLEAR TRIGGER", kClearCaptionDx, [this] { EditOpened(&TriggerEdits::ClearSequence); }));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kDownArrow, timeoutRow, [this] { EditOpened(&TriggerEdits::StepTimeoutDown); }),
        " TTL timeout down"));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kUpArrow, timeoutRow, [this] { EditOpened(&TriggerEdits::StepTimeoutUp); }),
        " TTL timeout up"));
    buttons_.push_back(ForOpenedChannel(ArrowRow(openedstrip::kDownArrow, sequenceRow,
                                                 [this] { EditOpened(&TriggerEdits::StepSequenceDown); }),
                                        " trigger sequence down"));
    buttons_.push_back(ForOpenedChannel(
        ArrowRow(openedstrip::kUpArrow, sequenceRow, [this] { EditOpened(&TriggerEdits::StepSequenceUp); }),
        " trigger sequence up"));
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
    for (const layout::Text& instruction : kInstructions) {
        panelstyle::DrawText(painter, instruction, kInstructionArea);
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

void TriggerScreen::EditOpened(ActionResult (TriggerEdits::*edit)(size_t)) {
    (edits_.*edit)(OpenedChannel());
    PaintTriggerValues(true);
}

void TriggerScreen::EnterTimeout() {
    if (const std::optional<int> timeout = EnteredNumber(OpenedTimeout())) {
        edits_.SetTimeout(OpenedChannel(), static_cast<uint16_t>(*timeout));
    }
    PaintTriggerValues(true);
}

void TriggerScreen::EnterSequence() {
    // A number the unit has no step for is dropped unannounced.
    if (const std::optional<int> step = EnteredNumber(OpenedSequence())) {
        edits_.SetSequence(OpenedChannel(), static_cast<unsigned>(*step));
    }
    PaintTriggerValues(true);
}
