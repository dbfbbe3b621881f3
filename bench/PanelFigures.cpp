#include "PanelFigures.h"

#include "Measure.h"
#include "OffscreenPanel.h"
#include "ScreenStates.h"

#include <QPainter>

#include <algorithm>
#include <array>
#include <map>
#include <memory>

namespace bench {

namespace {

// Counts the primitives that reach the surface while it lives: each one reports its rectangle as
// damaged. The window's own handler only schedules the repaint, which goes on.
class PrimitiveCount {
public:
    explicit PrimitiveCount(CRZ470ControlPanelDlg& dialog) : dialog_(dialog) {
        dialog_.router().surface().setDamageHandler([this](const QRect& rect) {
            ++count;
            dialog_.update(rect);
        });
    }
    ~PrimitiveCount() {
        CRZ470ControlPanelDlg& dialog = dialog_;
        dialog.router().surface().setDamageHandler([&dialog](const QRect& rect) { dialog.update(rect); });
    }
    PrimitiveCount(const PrimitiveCount&) = delete;
    PrimitiveCount& operator=(const PrimitiveCount&) = delete;

    int count = 0;

private:
    CRZ470ControlPanelDlg& dialog_;
};

// The unit as the poll reads it, held in memory: the calls copy from here and cost nearly nothing.
struct UnitInMemory {
    std::array<rz470::ChannelRecord, rz470::kChannelCount> channels{};
    RZ470Word unitStatus = 0;
};
UnitInMemory memoryUnit;

RZ470Word CountOne() {
    return 1;
}
int Succeed() {
    return 1;
}
int Active(RZ470Word) {
    return 1;
}
int ReadStatus(RZ470Word, rz470::ChannelRecord* r1, rz470::ChannelRecord* r2, rz470::ChannelRecord* r3,
               rz470::ChannelRecord* r4, rz470::ChannelRecord* r5, rz470::ChannelRecord* r6,
               rz470::ChannelRecord* r7, rz470::ChannelRecord* r8, rz470::ChannelRecord* r9,
               RZ470Word* status) {
    rz470::ChannelRecord* records[] = {r1, r2, r3, r4, r5, r6, r7, r8, r9};
    for (size_t c = 0; c < memoryUnit.channels.size(); ++c) {
        *records[c] = memoryUnit.channels[c];
    }
    *status = memoryUnit.unitStatus;
    return 1;
}
int ReadLevels(RZ470Word, RZ470Word* l1, RZ470Word* l2, RZ470Word* l3, RZ470Word* l4, RZ470Word* l5,
               RZ470Word* l6, RZ470Word* l7, RZ470Word* l8, RZ470Word* l9) {
    RZ470Word* levels[] = {l1, l2, l3, l4, l5, l6, l7, l8, l9};
    for (size_t c = 0; c < memoryUnit.channels.size(); ++c) {
        *levels[c] = memoryUnit.channels[c].intensity;
    }
    return 1;
}

void AnswerFromMemory(UnitSession& session) {
    const UnitSlot& unit = session.unit();
    std::copy_n(unit.channels.begin(), rz470::kChannelCount, memoryUnit.channels.begin());
    memoryUnit.unitStatus = unit.unitStatus;
    DeviceApi& api = session.api();
    api.GetNumDevicesConnected = CountOne;
    api.UpdateData = Succeed;
    api.DeviceActive = Active;
    api.GetUnitStatus = ReadStatus;
    api.GetIntensityLevel = ReadLevels;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

}  // namespace

std::function<void()> BlitOf(const QImage& surface) {
    auto target = std::make_shared<QImage>(surface.size(), surface.format());
    target->setDevicePixelRatio(surface.devicePixelRatio());
    return [target, &surface] {
        QPainter painter(target.get());
        painter.drawImage(0, 0, surface);
    };
}

std::vector<ScreenPaint> PaintEachScreen(OffscreenPanel& panel) {
    ScreenRouter& router = panel.dialog().router();
    const std::pair<const char*, int> screens[] = {
        {"main", screens::kMain},
        {"grouping, LED 1 opened", screens::kGroupingFirst},
        {"trigger, LED 1 opened", screens::kTriggerFirst},
        {"alarms", screens::kAlarms},
        {"maintenance", screens::kMaintenance},
    };
    const std::function<void()> blit = BlitOf(router.surface().image());
    // Once through first, so that neither the target's first use nor a core waking up counts.
    FastestNanoseconds(blit);
    // The primitives write every pixel into the surface image; the window's repaint then copies
    // it, which is the blit itself.
    const auto paint = [&router] { router.PaintScreen(); };
    std::vector<ScreenPaint> paints;
    for (const auto& [name, state] : screens) {
        router.ChangeScreen(state);
        PrimitiveCount count(panel.dialog());
        router.PaintScreen();
        const int primitives = count.count;
        paints.push_back({QString::fromLatin1(name), AgainstBaseline(paint, blit), primitives});
    }
    router.ChangeScreen(screens::kMain);
    return paints;
}

TickCost MeasureTicks(OffscreenPanel& panel) {
    CRZ470ControlPanelDlg& dialog = panel.dialog();
    UnitSession& session = dialog.session();
    dialog.router().ChangeScreen(screens::kMain);
    AnswerFromMemory(session);
    // One full rhythm first, so everything shown matches the unit in memory.
    for (int tick = 0; tick < 2 * UnitSession::kCountdownAfterRead; ++tick) {
        dialog.OnTimer();
    }

    TickCost cost{};
    PrimitiveCount count(dialog);
    // Each step of the rhythm (by the countdown it starts from) has its own cost; the slowest counts.
    std::map<int, std::vector<double>> bySteps;
    for (int tick = 0; tick < 5000; ++tick) {
        const int step = session.pollCountdown();
        QElapsedTimer timer;
        timer.start();
        dialog.OnTimer();
        bySteps[step].push_back(static_cast<double>(timer.nsecsElapsed()));
    }
    for (auto& [step, times] : bySteps) {
        cost.idleNanoseconds = std::max(cost.idleNanoseconds, Median(times));
    }
    cost.idlePrimitives = count.count;

    // An LED switched at the unit itself: the next status read finds it.
    std::vector<double> changeTimes;
    const int changes = 200;
    count.count = 0;
    for (int change = 0; change < changes; ++change) {
        while (session.pollCountdown() != UnitSession::kStatusReadAt) {
            dialog.OnTimer();
        }
        const int before = count.count;
        memoryUnit.channels[0].status ^= rz470::ChannelStatus::LedOn;
        QElapsedTimer timer;
        timer.start();
        dialog.OnTimer();
        changeTimes.push_back(static_cast<double>(timer.nsecsElapsed()));
        cost.changePrimitives += count.count - before;
    }
    cost.changeNanoseconds = Median(changeTimes);
    cost.changePrimitives /= changes;
    return cost;
}

}  // namespace bench
