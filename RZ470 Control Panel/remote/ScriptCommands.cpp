#include "ScriptCommands.h"

#include "ActionResult.h"
#include "ChannelActions.h"
#include "FavouriteEdits.h"
#include "GroupingEdits.h"
#include "IntensitySteps.h"
#include "LedName.h"
#include "PanelSettings.h"
#include "TriggerEdits.h"
#include "UnitSession.h"

#include <QCoreApplication>
#include <QJsonArray>
#include <QTimer>

#include <cmath>
#include <limits>

namespace {

constexpr int kDrainRetryMs = 1;
// Switches asked for and never read back are forgotten after this many reads.
constexpr int kReadsToFollow = 4;
// Bits of the unit's status word that are its own alarms.
constexpr uint16_t kUnitAlarmBits =
    rz470::UnitStatus::AlarmActive | rz470::UnitStatus::NvmFailure | rz470::UnitStatus::PerformanceAlarm;

// The warning popups' texts, as one line.
QString PopupText(WarningPopup popup) {
    switch (popup) {
        case WarningPopup::AlarmActive:
            return QStringLiteral("AlarmActive on LED, Proceed to maintenance screen");
        case WarningPopup::LightGuideOut:
            return QStringLiteral("Light Guide not inserted");
    }
    return {};
}

// 140 reads "1.4.0".
QString VersionText(uint16_t version) {
    QString text;
    for (const QChar digit : QString::number(version)) {
        text += text.isEmpty() ? QString(digit) : QStringLiteral(".") + digit;
    }
    return text;
}

QJsonArray AsArray(const QList<int>& values) {
    QJsonArray array;
    for (const int value : values) {
        array.append(value);
    }
    return array;
}

const ScriptReply kAbsent = ScriptReply::Error(scripterrors::kAbsent, QStringLiteral("no unit answers"));

}  // namespace

ScriptCommands::ScriptCommands(UnitSession& session, PanelSettings& settings, QObject* parent)
    : QObject(parent),
      session_(session),
      settings_(settings),
      channels_(std::make_unique<ChannelActions>(session, settings)),
      grouping_(std::make_unique<GroupingEdits>(session)),
      trigger_(std::make_unique<TriggerEdits>(session, settings)),
      drain_(new QTimer(this)) {
    drain_->setInterval(kDrainRetryMs);
    connect(drain_, &QTimer::timeout, this, &ScriptCommands::DrainWaiting);
    connect(&session_, &UnitSession::TickStarting, this, &ScriptCommands::TickStarting);
    connect(&session_, &UnitSession::ValuesRead, this, &ScriptCommands::ValuesRead);
    connect(&session_, &UnitSession::SwitchAsked, this, &ScriptCommands::SwitchAsked);
    connect(&session_, &UnitSession::UnitNotFound, this, &ScriptCommands::Lost);
}

ScriptCommands::~ScriptCommands() = default;

// ---- reads

size_t ScriptCommands::IndexOf(int channel) const {
    return session_.table().panelMap[static_cast<size_t>(channel - 1)];
}

bool ScriptCommands::IsFitted(int channel) const {
    return (session_.unit().channels[IndexOf(channel)].status & rz470::ChannelStatus::Fitted) != 0;
}

QJsonObject ScriptCommands::ChannelObject(int channel) const {
    const size_t index = IndexOf(channel);
    const rz470::ChannelRecord& record = session_.unit().channels[index];
    const bool levelKnown = !session_.unit().levelUnknown[index];
    return {{QStringLiteral("channel"), channel},
            {QStringLiteral("wavelength"), record.wavelength},
            {QStringLiteral("name"), LedName::FromNarrow(record.name)},
            {QStringLiteral("fitted"), (record.status & rz470::ChannelStatus::Fitted) != 0},
            {QStringLiteral("on"), (record.status & rz470::ChannelStatus::LedOn) != 0},
            {QStringLiteral("level"), levelKnown ? QJsonValue(record.intensity) : QJsonValue()},
            {QStringLiteral("alarm"), record.status & rz470::ChannelStatus::AlarmMask},
            {QStringLiteral("triggered"), record.triggered != 0}};
}

QJsonObject ScriptCommands::Status() const {
    const UnitSlot& unit = session_.unit();
    const bool connected = !UnitGone();
    QJsonArray channels;
    bool triggered = false;
    for (int channel = 1; channel <= kChannels; ++channel) {
        channels.append(ChannelObject(channel));
        triggered = triggered || unit.channels[IndexOf(channel)].triggered != 0;
    }
    const QChar model = QChar::fromLatin1(static_cast<char>(unit.serialIdentifier));
    return {{QStringLiteral("connected"), connected},
            {QStringLiteral("model"), connected && model.isLetterOrNumber() ? QString(model) : QString()},
            {QStringLiteral("serial"), !connected ? QString()
                                       : serial_  ? serial_()
                                                  : QString::number(unit.serialNumber)},
            {QStringLiteral("versions"),
             QJsonObject{{QStringLiteral("unit"), VersionText(unit.firmwareVersion)},
                         {QStringLiteral("unit2"), VersionText(unit.firmwareVersion2)},
                         {QStringLiteral("unit3"), VersionText(unit.firmwareVersion3)},
                         {QStringLiteral("panel"), QCoreApplication::applicationVersion()}}},
            {QStringLiteral("lightGuide"), (unit.unitStatus & rz470::UnitStatus::LightGuideInserted) != 0},
            {QStringLiteral("knobLock"), (unit.unitStatus & rz470::UnitStatus::KnobLocked) != 0},
            {QStringLiteral("triggered"), triggered},
            {QStringLiteral("unitAlarm"), unit.unitStatus & kUnitAlarmBits},
            {QStringLiteral("scriptingAllowed"), scriptingAllowed()},
            {QStringLiteral("demoLoop"), demoLoop_},
            {QStringLiteral("channels"), channels}};
}

ScriptReply ScriptCommands::Channel(int channel) const {
    if (!IsChannel(channel)) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("channels are 1 to 9"));
    }
    // With no unit the record is what the panel last saw, or nothing yet: not the channel.
    if (UnitGone()) {
        return kAbsent;
    }
    return ScriptReply::Done(ChannelObject(channel));
}

QJsonObject ScriptCommands::Grouping() const {
    const GroupingAndTrigger& tables = session_.tables();
    QList<int> groups;
    for (int channel = 1; channel <= kChannels; ++channel) {
        groups << tables.ledGroup[IndexOf(channel)];
    }
    return {{QStringLiteral("mode"), tables.groupingMode}, {QStringLiteral("groups"), AsArray(groups)}};
}

QJsonObject ScriptCommands::Trigger() const {
    const GroupingAndTrigger& tables = session_.tables();
    QList<int> timeouts;
    QList<int> sequence;
    for (int channel = 1; channel <= kChannels; ++channel) {
        timeouts << tables.ttlTimeout[IndexOf(channel)];
        sequence << tables.triggerSequence[IndexOf(channel)];
    }
    return {{QStringLiteral("timeouts"), AsArray(timeouts)}, {QStringLiteral("sequence"), AsArray(sequence)}};
}

QStringList ScriptCommands::Favourites() const {
    // Another writer may have changed them since the panel last looked.
    settings_.ReloadFavourites();
    QStringList names;
    for (int slot = 1; slot <= PanelSettings::kFavouriteSlots; ++slot) {
        const FavouriteGrouping favourite = settings_.Favourite(slot);
        if (!favourite.isFree()) {
            names << favourite.name;
        }
    }
    return names;
}

QStringList ScriptCommands::Errors() const {
    return !UnitGone() && errors_ ? errors_() : QStringList();
}

// ---- acts

bool ScriptCommands::scriptingAllowed() const {
    return settings_.ScriptingAllowed();
}

void ScriptCommands::SetScriptingAllowed(bool allowed) {
    if (allowed == scriptingAllowed()) {
        return;
    }
    settings_.SetScriptingAllowed(allowed);
    emit ScriptingAllowedChanged(allowed);
    emit StateChanged();
}

std::optional<ScriptReply> ScriptCommands::ActRefusal() const {
    // Before anything else: this is answered at once even while a tick's message is up.
    if (UnitGone()) {
        return kAbsent;
    }
    if (!scriptingAllowed()) {
        return ScriptReply::Error(scripterrors::kOff, QStringLiteral("scripting is off"));
    }
    if (demoLoop_ || (demoLoopQuery_ && demoLoopQuery_())) {
        return ScriptReply::Error(scripterrors::kBusy, QStringLiteral("busy: demo loop"));
    }
    if (!idle()) {
        return ScriptReply::Error(scripterrors::kBusy, QStringLiteral("busy: the unit is being read"));
    }
    if (!session_.UnitActive()) {
        return kAbsent;
    }
    return std::nullopt;
}

std::optional<ScriptReply> ScriptCommands::CheckChannels(const QList<int>& channels) const {
    if (channels.isEmpty()) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("name at least one channel"));
    }
    for (const int channel : channels) {
        if (!IsChannel(channel)) {
            return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("channels are 1 to 9"));
        }
    }
    return std::nullopt;
}

ScriptReply ScriptCommands::Reply(const ActionResult& result, int channel) const {
    const QString led = QStringLiteral("LED %1").arg(channel);
    if (result.popup) {
        return ScriptReply::Error(scripterrors::kRefused, PopupText(*result.popup));
    }
    switch (result.outcome) {
        case ActionOutcome::Done:
        case ActionOutcome::Unchanged:
            return ScriptReply::Done();
        case ActionOutcome::UnitAbsent:
            return kAbsent;
        case ActionOutcome::Triggered:
            return ScriptReply::Error(scripterrors::kRefused, led + QStringLiteral(" is triggered"));
        case ActionOutcome::NotFitted:
            return ScriptReply::Error(scripterrors::kRefused, led + QStringLiteral(" is not fitted"));
        case ActionOutcome::AlarmActive:
        case ActionOutcome::LightGuideOut:
        case ActionOutcome::OutOfRange:
        case ActionOutcome::ListFull:
        case ActionOutcome::NameTaken:
            break;
        case ActionOutcome::NotListed:
            return ScriptReply::Error(scripterrors::kNotFound, QStringLiteral("no favourite of that name"));
    }
    return ScriptReply::Error(scripterrors::kRefused, result.message.isEmpty()
                                                          ? QStringLiteral("out of range")
                                                          : result.message.trimmed());
}

template <typename Act>
ScriptReply ScriptCommands::Acting(Act&& act) {
    if (std::optional<ScriptReply> refusal = ActRefusal()) {
        return *refusal;
    }
    ScriptReply reply;
    {
        acting_ = true;
        reply = act();
        acting_ = false;
    }
    Observe(changedby::kScript);
    return reply;
}

ScriptReply ScriptCommands::Switch(const QList<int>& channels, bool on) {
    if (std::optional<ScriptReply> usage = CheckChannels(channels)) {
        return *usage;
    }
    return Acting([&] {
        for (const int channel : channels) {
            const ScriptReply reply = Reply(channels_->Switch(channel - 1, on), channel);
            if (!reply.ok) {
                return reply;
            }
            emit ScriptSwitched(channel, on);
        }
        return ScriptReply::Done();
    });
}

ScriptReply ScriptCommands::SetLevel(const QList<int>& channels, double percent) {
    if (std::optional<ScriptReply> usage = CheckChannels(channels)) {
        return *usage;
    }
    if (!std::isfinite(percent) || percent < 0.0 || percent > std::numeric_limits<float>::max()) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("a level is a percentage"));
    }
    return Acting([&] {
        std::vector<int> panels;
        for (const int channel : channels) {
            if (!IsFitted(channel)) {
                return Reply(ActionResult::Refused(ActionOutcome::NotFitted), channel);
            }
            const uint16_t minimum =
                intensitysteps::MinimumLevel(session_.unit().channels[IndexOf(channel)].minIntensityPercent);
            if (!intensitysteps::TypedLevel(static_cast<float>(percent), minimum)) {
                return ScriptReply::Error(scripterrors::kRefused,
                                          QStringLiteral("LED %1 takes 0 or %2 to 100.0 %")
                                              .arg(channel)
                                              .arg(minimum / 10.0, 0, 'f', 1));
            }
            panels.push_back(channel - 1);
        }
        return Reply(channels_->SetTypedLevels(panels, static_cast<float>(percent)), channels.first());
    });
}

ScriptReply ScriptCommands::AllOff() {
    return Acting([&] {
        session_.SwitchAllOff();
        for (int channel = 1; channel <= kChannels; ++channel) {
            rz470::ChannelRecord& shown = session_.table().shownAtPanel(channel - 1);
            shown.status = static_cast<uint16_t>(shown.status & ~rz470::ChannelStatus::LedOn);
            emit ScriptSwitched(channel, false);
        }
        return ScriptReply::Done();
    });
}

ScriptReply ScriptCommands::Rename(int channel, const QString& name) {
    if (!IsChannel(channel)) {
        return *CheckChannels({channel});
    }
    if (const std::optional<QString> refusal = LedName::Refusal(name)) {
        return ScriptReply::Error(scripterrors::kUsage, *refusal);
    }
    if (LedName::Length(name) > LedName::kMaxLength) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("a name has at most 8 characters"));
    }
    return Acting([&] {
        if (!IsFitted(channel)) {
            return Reply(ActionResult::Refused(ActionOutcome::NotFitted), channel);
        }
        return Reply(channels_->Rename(channel - 1, name), channel);
    });
}

ScriptReply ScriptCommands::SetGroupingMode(int mode) {
    if (mode < 0 || mode >= GroupingAndTrigger::kModeCount) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("the grouping mode is 0, 1 or 2"));
    }
    return Acting([&] {
        const uint8_t now = session_.tables().groupingMode;
        if (now == mode) {
            return ScriptReply::Done();
        }
        // The grouping screen turns grouping off by choosing the mode in force again.
        const ActionResult result = grouping_->SwitchMode(static_cast<uint8_t>(mode == 0 ? now : mode));
        TablesEdited();
        return result.refused() ? Reply(result, 0) : ScriptReply::Done();
    });
}

ScriptReply ScriptCommands::SetGroup(int channel, int group) {
    if (!IsChannel(channel)) {
        return *CheckChannels({channel});
    }
    if (group < 0 || group > GroupingAndTrigger::kGroupCount) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("groups are 0 to 6"));
    }
    return Acting([&] {
        const uint8_t limit = session_.tables().MaxGroup();
        if (group > limit) {
            return ScriptReply::Error(scripterrors::kRefused,
                                      QStringLiteral("grouping mode %1 takes groups 0 to %2")
                                          .arg(session_.tables().groupingMode)
                                          .arg(limit));
        }
        const ScriptReply reply =
            Reply(grouping_->SetGroup(IndexOf(channel), static_cast<unsigned>(group)), channel);
        TablesEdited();
        return reply;
    });
}

ScriptReply ScriptCommands::LoadFavourite(const QString& name) {
    if (name.isEmpty()) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("name a favourite"));
    }
    return Acting([&] {
        FavouriteEdits favourites(settings_, session_.tables());
        const int slot = favourites.SlotHolding(name);
        if (slot == 0) {
            return ScriptReply::Error(scripterrors::kNotFound,
                                      QStringLiteral("no favourite called \"%1\"").arg(name));
        }
        const ActionResult loaded = favourites.Load(slot);
        if (loaded.refused()) {
            return Reply(loaded, 0);
        }
        grouping_->SendLoaded();
        TablesEdited();
        return ScriptReply::Done();
    });
}

ScriptReply ScriptCommands::SetTimeout(int channel, int minutes) {
    if (!IsChannel(channel)) {
        return *CheckChannels({channel});
    }
    if (minutes < 0 || minutes > std::numeric_limits<uint16_t>::max()) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("a timeout is 0 to 65535 minutes"));
    }
    return Acting([&] {
        const ScriptReply reply =
            Reply(trigger_->SetTimeout(IndexOf(channel), static_cast<uint16_t>(minutes)), channel);
        TablesEdited();
        return reply;
    });
}

ScriptReply ScriptCommands::SetSequence(int channel, int step) {
    if (!IsChannel(channel)) {
        return *CheckChannels({channel});
    }
    if (step < 0 || step > TriggerEdits::kLastSequenceStep) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("a sequence step is 0 to 9"));
    }
    return Acting([&] {
        const ScriptReply reply =
            Reply(trigger_->SetSequence(IndexOf(channel), static_cast<unsigned>(step)), channel);
        TablesEdited();
        return reply;
    });
}

// ---- events

ScriptCommands::Seen ScriptCommands::SeenNow(int channel) const {
    const UnitSlot& unit = session_.unit();
    const size_t index = IndexOf(channel);
    const rz470::ChannelRecord& record = unit.channels[index];
    return Seen{(record.status & rz470::ChannelStatus::LedOn) != 0,
                unit.levelUnknown[index] ? -1 : int(record.intensity), LedName::FromNarrow(record.name),
                static_cast<uint>(record.status & rz470::ChannelStatus::AlarmMask)};
}

void ScriptCommands::Observe(const QString& by) {
    if (!connected_) {
        return;
    }
    bool changed = false;
    for (int channel = 1; channel <= kChannels; ++channel) {
        Seen& seen = seen_[static_cast<size_t>(channel - 1)];
        Seen now = SeenNow(channel);
        now.alarm = seen.alarm;
        AskedSwitch& asked = asked_[static_cast<size_t>(channel - 1)];
        QString who = by;
        if (now.on != seen.on && asked.pending && asked.on == now.on) {
            who = asked.by;
            asked.pending = false;
        }
        if (now.on != seen.on || now.level != seen.level || now.name != seen.name) {
            seen = now;
            changed = true;
            emit ChannelChanged(channel, now.on, now.level, now.name, who);
        }
    }
    if (changed) {
        emit StateChanged();
    }
}

void ScriptCommands::TickStarting() {
    const bool running = demoLoopQuery_ && demoLoopQuery_();
    if (running != demoLoop_) {
        demoLoop_ = running;
        emit DemoLoopChanged(running);
        emit StateChanged();
    }
    // Script acts are reported as they run and the unit's at its reads: what else changed since
    // the last tick was done on the panel.
    Observe(changedby::kPanel);
}

void ScriptCommands::ValuesRead() {
    const UnitSlot& unit = session_.unit();
    if (!connected_) {
        if (unit.isEmpty()) {
            return;
        }
        connected_ = true;
        // What the unit holds when it is found is where events start from.
        for (int channel = 1; channel <= kChannels; ++channel) {
            seen_[static_cast<size_t>(channel - 1)] = SeenNow(channel);
        }
        unitAlarm_ = unit.unitStatus & kUnitAlarmBits;
        emit UnitFound();
        emit StateChanged();
        return;
    }
    Observe(changedby::kUnit);
    for (AskedSwitch& asked : asked_) {
        if (asked.pending && --asked.readsLeft <= 0) {
            asked.pending = false;
        }
    }
    bool alarmsChanged = false;
    for (int channel = 1; channel <= kChannels; ++channel) {
        const uint bits = unit.channels[IndexOf(channel)].status & rz470::ChannelStatus::AlarmMask;
        uint& seen = seen_[static_cast<size_t>(channel - 1)].alarm;
        if (bits != seen) {
            seen = bits;
            alarmsChanged = true;
            emit AlarmChanged(channel, bits != 0, bits);
        }
    }
    const uint unitBits = unit.unitStatus & kUnitAlarmBits;
    if (unitBits != unitAlarm_) {
        unitAlarm_ = unitBits;
        alarmsChanged = true;
        emit AlarmChanged(0, unitBits != 0, unitBits);
    }
    if (alarmsChanged || unit.unitStatus != unitStatus_) {
        unitStatus_ = unit.unitStatus;
        emit StateChanged();
    }
}

void ScriptCommands::SwitchAsked(size_t channel, bool on) {
    for (int panel = 0; panel < kChannels; ++panel) {
        if (session_.table().panelMap[static_cast<size_t>(panel)] == channel) {
            asked_[static_cast<size_t>(panel)] =
                AskedSwitch{true, on, acting_ ? changedby::kScript : changedby::kPanel, kReadsToFollow};
        }
    }
}

void ScriptCommands::Lost() {
    if (!connected_) {
        return;
    }
    connected_ = false;
    emit UnitLost();
    emit StateChanged();
}

void ScriptCommands::TablesEdited() {
    emit TablesChanged();
    emit StateChanged();
}

// ---- waiting for a tick to end

bool ScriptCommands::idle() const {
    return !session_.inTick();
}

bool ScriptCommands::UnitGone() const {
    return !connected_ || session_.isStopped() || session_.unit().isEmpty();
}

bool ScriptCommands::MayRunNow() const {
    return idle() || UnitGone();
}

bool ScriptCommands::RunWhenIdle(std::function<void()> job) {
    if (waiting_.empty() && MayRunNow()) {
        job();
        return true;
    }
    if (waiting_.size() >= kMaxWaiting) {
        return false;
    }
    waiting_.push_back(std::move(job));
    drain_->start();
    return true;
}

void ScriptCommands::DrainWaiting() {
    while (!waiting_.empty() && MayRunNow()) {
        std::function<void()> job = std::move(waiting_.front());
        waiting_.pop_front();
        job();
    }
    if (waiting_.empty()) {
        drain_->stop();
    }
}
