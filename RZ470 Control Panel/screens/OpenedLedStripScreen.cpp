#include "OpenedLedStripScreen.h"

#include "NumberEntry.h"
#include "PanelPainter.h"
#include "PanelStyle.h"
#include "Prompts.h"
#include "ScreenNavigation.h"
#include "UnitSession.h"

#include <algorithm>

using namespace openedstrip;

OpenedLedStripScreen::OpenedLedStripScreen(ScreenContext& context, const StripLook& look)
    : Screen(context), look_(look) {}

void OpenedLedStripScreen::Enter() {
    opened_ = std::clamp(ctx_.router.ScreenState() - look_.firstState, 0, rz470::kChannelCount - 1);
    buttons_.clear();
    BuildButtons();
}

size_t OpenedLedStripScreen::ChannelAt(int panel) const {
    return ctx_.session.table().panelMap[static_cast<size_t>(panel)];
}

bool OpenedLedStripScreen::IsFitted(int panel) const {
    return (ctx_.session.table().channelAtPanel(panel).status & rz470::ChannelStatus::Fitted) != 0;
}

void OpenedLedStripScreen::DrawStrip() {
    for (int i = 0; i < rz470::kChannelCount; ++i) {
        const bool opened = i == opened_;
        ctx_.painter.DrawBitmap(opened ? look_.openedPicture : look_.closedPicture, PanelLeft(i), kTop,
                                opened ? kClosedWidth + kOpenedExtra : kClosedWidth,
                                opened ? look_.openedHeight : look_.closedHeight);
    }
}

void OpenedLedStripScreen::AddPanelRows() {
    firstPanelRow_ = static_cast<int>(buttons_.size());
    for (int i = 0; i < rz470::kChannelCount; ++i) {
        const bool opened = i == opened_;
        const int left = PanelLeft(i);
        const bool fullWidth = look_.lastPanelFullWidth && i == rz470::kChannelCount - 1 && !opened;
        ButtonRow row;
        row.region = {left, kTop, left + (fullWidth ? kClosedWidth : kNameStripWidth), kNameStripBottom};
        // The panel's own picture serves as both looks; it hides the name and values until the
        // screen is painted again.
        row.place = {left, kTop, opened ? kClosedWidth + kOpenedExtra : kClosedWidth,
                     opened ? look_.openedHeight : look_.closedHeight};
        row.normalPicture = row.pressedPicture = opened ? look_.openedPicture : look_.closedPicture;
        row.action = [this, i, opened] {
            if (opened) {
                ctx_.router.PaintScreen();
            } else {
                ctx_.router.ChangeScreen(look_.firstState + i);
            }
        };
        row.access.name = [this, i] {
            const QString name = ChannelName(i).trimmed();
            return QStringLiteral("LED %1").arg(i + 1) +
                   (name.isEmpty() ? QString() : QLatin1Char(' ') + name);
        };
        row.access.value = [this, i] { return IsFitted(i) ? PanelValue(i) : QString(); };
        buttons_.push_back(std::move(row));
    }
}

ButtonRow OpenedLedStripScreen::OpenedRow(const layout::Button& button, int y,
                                          std::function<void()> action) const {
    ButtonRow row;
    row.place = OpenedPlace(button.place, y);
    row.region = row.place.region();
    row.normalPicture = button.picture;
    row.pressedPicture = button.pressedPicture;
    row.action = std::move(action);
    return row;
}

ButtonRow OpenedLedStripScreen::ClearRow(const char* caption, int captionDx,
                                         std::function<void()> action) const {
    ButtonRow row = OpenedRow(kClearButton, kClearButton.place.y, std::move(action));
    row.caption = {
        {OpenedLeft() + captionDx, kClearCaptionY}, caption, layout::Face::Medium, layout::Tone::Caption};
    row.captionOnRelease = true;
    return row;
}

ButtonRow OpenedLedStripScreen::ArrowRow(const layout::Button& arrow, const ValueRow& valueRow,
                                         std::function<void()> action) const {
    return OpenedRow(arrow, valueRow.top, std::move(action));
}

ButtonRow OpenedLedStripScreen::FieldRow(const ValueRow& valueRow, std::function<void()> action) const {
    ButtonRow row = OpenedRow({kOpenedField.place, kOpenedField.id, kOpenedField.id}, valueRow.fieldPictureY,
                              std::move(action));
    row.region = {OpenedLeft() + kFieldLeftDx, valueRow.top, OpenedLeft() + kFieldRightDx,
                  valueRow.top + kFieldHeight};
    return row;
}

ButtonRow OpenedLedStripScreen::ForOpenedChannel(ButtonRow row, const char* purpose) {
    row.access.name = [this, purpose] { return ChannelTitle(opened_) + QLatin1String(purpose); };
    return row;
}

layout::Place OpenedLedStripScreen::OpenedPlace(const layout::Place& place, int y) const {
    return {OpenedLeft() + place.x, y, place.width, place.height};
}

void OpenedLedStripScreen::DrawName(int panel) {
    const int left = PanelLeft(panel);
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, left + NameDx(left), kNameY,
                           ChannelName(panel), NameBox(panel, opened_));
}

void OpenedLedStripScreen::ShowTablesChanged() {
    ctx_.router.PaintScreen();
}

std::optional<int> OpenedLedStripScreen::EnteredNumber(int shown) {
    NumberEntry entry(ctx_.prompts, &ctx_.window);
    entry.m_decimalMode = 0;
    entry.m_value = static_cast<uint16_t>(shown);
    ctx_.prompts.runNumberEntry(entry);
    if (!entry.m_entered) {
        return std::nullopt;
    }
    return entry.m_value;
}

void OpenedLedStripScreen::DrawValue(int panel, const ValueRow& row, const QString& text, bool blankFirst) {
    const int left = PanelLeft(panel);
    if (panel == opened_) {
        const layout::Place field = OpenedPlace(kOpenedField.place, row.fieldPictureY);
        if (blankFirst) {
            ctx_.painter.DrawPicture(kOpenedField.id, field);
        }
        ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, left + kOpenedTextDx,
                               row.openedTextY, text, field);
        return;
    }
    const layout::Place field = kClosedField.place.movedBy(left + ClosedBlankDx(left), row.closedBlankY);
    if (blankFirst) {
        ctx_.painter.DrawPicture(kClosedField.id, field);
    }
    ctx_.painter.DrawLabel(ctx_.painter.fonts().large, panelstyle::kValue, left + ClosedNumberDx(left),
                           row.closedTextY, text, field);
}

std::vector<int> OpenedLedStripScreen::ReadingOrder() const {
    std::vector<int> order = Screen::ReadingOrder();
    const std::vector<int> controls = OpenedControls();
    order.erase(std::remove_if(order.begin(), order.end(),
                               [&controls](int id) {
                                   return std::find(controls.begin(), controls.end(), id) != controls.end();
                               }),
                order.end());
    const auto openedPanel = std::find(order.begin(), order.end(), firstPanelRow_ + opened_);
    order.insert(openedPanel == order.end() ? order.end() : openedPanel + 1, controls.begin(),
                 controls.end());
    return order;
}
