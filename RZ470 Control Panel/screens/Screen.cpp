#include "Screen.h"

#include "MenuButtons.h"
#include "StatusBar.h"
#include "UnitSession.h"

#include <QByteArray>

#include <algorithm>

void Screen::DrawPressed(int id) {
    const ButtonRow& row = buttons_[static_cast<size_t>(id)];
    DrawButtonRow(ctx_.painter, row, true, row.captionWhenPressed);
}

void Screen::Release(int id) {
    if (id < 0 || id >= static_cast<int>(buttons_.size())) {
        return;
    }
    const ButtonRow& row = buttons_[static_cast<size_t>(id)];
    if (!row.keepOnRelease) {
        DrawButtonRow(ctx_.painter, row, false, row.captionOnRelease);
    }
    // A copy: the action may change screens, and a screen may rebuild its table on entering.
    const std::function<void()> action = row.action;
    if (action) {
        action();
    }
}

void Screen::DrawStatusIcons() {
    ctx_.statusBar.DrawStatusIcons(ctx_.session.unit().unitStatus);
}

void Screen::DrawRows(int first, int last) {
    for (int id = first; id <= last; ++id) {
        DrawButtonRow(ctx_.painter, buttons_[static_cast<size_t>(id)], false, true);
    }
}

std::vector<int> Screen::ReadingOrder() const {
    std::vector<int> order;
    std::vector<int> menuBar;
    for (size_t id = 0; id < buttons_.size(); ++id) {
        const ButtonRow& row = buttons_[id];
        if (IsButton(row)) {
            (row.place.y >= menubuttons::kBarTop ? menuBar : order).push_back(static_cast<int>(id));
        }
    }
    std::stable_sort(menuBar.begin(), menuBar.end(), [this](int a, int b) {
        return buttons_[static_cast<size_t>(a)].place.x < buttons_[static_cast<size_t>(b)].place.x;
    });
    order.insert(order.end(), menuBar.begin(), menuBar.end());
    return order;
}

QString Screen::ChannelName(int panel) const {
    const rz470::ChannelRecord& record = ctx_.session.table().channelAtPanel(panel);
    if ((record.status & rz470::ChannelStatus::Fitted) == 0) {
        return {};
    }
    return QString::fromLatin1(
        QByteArray(record.name, static_cast<int>(qstrnlen(record.name, sizeof record.name))));
}

QString Screen::ChannelTitle(int panel) const {
    const QString name = ChannelName(panel).trimmed();
    return name.isEmpty() ? QStringLiteral("LED %1").arg(panel + 1) : name;
}
