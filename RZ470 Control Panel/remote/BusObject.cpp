#include "BusObject.h"

#include "BusValues.h"
#include "ScriptCommands.h"

#include <QDBusConnection>
#include <QJsonArray>

const QString BusObject::kInterface = QStringLiteral("example.varnholt.Orvane1");
const QString BusObject::kPath = QStringLiteral("/example/varnholt/Orvane");

namespace {

struct ErrorNaming {
    const QString& kind;
    const char* name;
};
const ErrorNaming kErrorNames[] = {
    {scripterrors::kUsage, "Usage"},       {scripterrors::kRefused, "Refused"},
    {scripterrors::kBusy, "Busy"},         {scripterrors::kOff, "ScriptingOff"},
    {scripterrors::kAbsent, "UnitAbsent"}, {scripterrors::kNotFound, "NotFound"},
};

// A list from the bus may be as long as a message: more entries than channels are refused before
// any runs, so one call cannot queue a million acts.
BusObject::Command Bounded(const QList<int>& channels, BusObject::Command command) {
    if (channels.size() <= ScriptCommands::kChannels) {
        return command;
    }
    return [](ScriptCommands&) {
        return ScriptReply::Error(scripterrors::kUsage, QStringLiteral("name at most 9 channels"));
    };
}

QDBusMessage ErrorReply(const QDBusMessage& call, const ScriptReply& reply) {
    return call.createErrorReply(BusObject::ErrorName(reply.kind), reply.message);
}

// The out argument of a read, typed as the contract has it even when empty.
QVariant AsMap(const QJsonValue& value) {
    return busvalues::FromJson(value.toObject());
}
QVariant AsStrings(const QJsonValue& value) {
    QStringList strings;
    for (const QJsonValue& item : value.toArray()) {
        strings.append(item.toString());
    }
    return strings;
}

}  // namespace

BusObject::BusObject(ScriptCommands& commands, const QDBusConnection& bus, QObject* parent)
    : QObject(parent), commands_(commands), bus_(bus) {
    connect(&commands_, &ScriptCommands::ChannelChanged, this, &BusObject::ChannelChanged);
    connect(&commands_, &ScriptCommands::AlarmChanged, this, &BusObject::AlarmChanged);
    connect(&commands_, &ScriptCommands::UnitFound, this, &BusObject::UnitFound);
    connect(&commands_, &ScriptCommands::UnitLost, this, &BusObject::UnitLost);
    for (auto changed :
         {&ScriptCommands::StateChanged, &ScriptCommands::UnitFound, &ScriptCommands::UnitLost}) {
        connect(&commands_, changed, this, &BusObject::AnnounceChangedProperties);
    }
    connect(&commands_, &ScriptCommands::ChannelChanged, this, &BusObject::AnnounceChangedProperties);
    connect(&commands_, &ScriptCommands::ScriptingAllowedChanged, this,
            &BusObject::AnnounceChangedProperties);
    connect(&commands_, &ScriptCommands::DemoLoopChanged, this, &BusObject::AnnounceChangedProperties);
    // What a caller reads at the start is known to it; only later changes are announced.
    announced_.Update(Properties());
}

QString BusObject::ErrorName(const QString& kind) {
    for (const ErrorNaming& naming : kErrorNames) {
        if (naming.kind == kind) {
            return kInterface + QStringLiteral(".Error.") + QLatin1String(naming.name);
        }
    }
    return kInterface + QStringLiteral(".Error.Refused");
}

QVariantMap BusObject::Properties() const {
    const QJsonObject status = commands_.Status();
    QList<bool> on;
    QList<int> levels;
    QStringList names;
    for (const QJsonValue& channel : status.value(QStringLiteral("channels")).toArray()) {
        const QJsonObject fields = channel.toObject();
        on.append(fields.value(QStringLiteral("on")).toBool());
        // -1 for a level not known yet, as the events have it.
        levels.append(fields.value(QStringLiteral("level")).toInt(-1));
        names.append(fields.value(QStringLiteral("name")).toString());
    }
    return {
        {QStringLiteral("Connected"), status.value(QStringLiteral("connected")).toBool()},
        {QStringLiteral("Model"), status.value(QStringLiteral("model")).toString()},
        {QStringLiteral("SerialNumber"), status.value(QStringLiteral("serial")).toString()},
        {QStringLiteral("On"), QVariant::fromValue(on)},
        {QStringLiteral("Levels"), QVariant::fromValue(levels)},
        {QStringLiteral("Names"), names},
        {QStringLiteral("ScriptingAllowed"), commands_.scriptingAllowed()},
        {QStringLiteral("DemoLoopRunning"), commands_.demoLoopRunning()},
    };
}

bool BusObject::scriptingAllowed() const {
    return commands_.scriptingAllowed();
}

bool BusObject::demoLoopRunning() const {
    return commands_.demoLoopRunning();
}

void BusObject::AnnounceChangedProperties() {
    const QVariantMap changed = announced_.Update(Properties());
    if (changed.isEmpty()) {
        return;
    }
    QDBusMessage signal = QDBusMessage::createSignal(kPath, QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << kInterface << changed << QStringList();
    bus_.send(signal);
}

void BusObject::Run(Command command, ToBus out) {
    setDelayedReply(true);
    const QDBusMessage call = message();
    QDBusConnection bus = bus_;
    ScriptCommands* commands = &commands_;
    const bool queued = commands_.RunWhenIdle([commands, command, out, call, bus]() mutable {
        const ScriptReply reply = command(*commands);
        if (!reply.ok) {
            bus.send(ErrorReply(call, reply));
        } else {
            bus.send(out ? call.createReply(out(reply.value)) : call.createReply());
        }
    });
    if (!queued) {
        bus.send(call.createErrorReply(ErrorName(scripterrors::kBusy),
                                       QStringLiteral("busy: too many commands waiting")));
    }
}

QVariantMap BusObject::GetStatus() {
    Run([](ScriptCommands& commands) { return ScriptReply::Done(commands.Status()); }, AsMap);
    return {};
}

QVariantMap BusObject::GetChannel(int channel) {
    Run([channel](ScriptCommands& commands) { return commands.Channel(channel); }, AsMap);
    return {};
}

QVariantMap BusObject::GetGrouping() {
    Run([](ScriptCommands& commands) { return ScriptReply::Done(commands.Grouping()); }, AsMap);
    return {};
}

QVariantMap BusObject::GetTrigger() {
    Run([](ScriptCommands& commands) { return ScriptReply::Done(commands.Trigger()); }, AsMap);
    return {};
}

QStringList BusObject::GetFavourites() {
    Run(
        [](ScriptCommands& commands) {
            return ScriptReply::Done(QJsonArray::fromStringList(commands.Favourites()));
        },
        AsStrings);
    return {};
}

QStringList BusObject::GetErrors() {
    Run(
        [](ScriptCommands& commands) {
            return ScriptReply::Done(QJsonArray::fromStringList(commands.Errors()));
        },
        AsStrings);
    return {};
}

void BusObject::SwitchOn(const QList<int>& channels) {
    Run(Bounded(channels, [channels](ScriptCommands& commands) { return commands.Switch(channels, true); }));
}

void BusObject::SwitchOff(const QList<int>& channels) {
    Run(Bounded(channels, [channels](ScriptCommands& commands) { return commands.Switch(channels, false); }));
}

void BusObject::SetLevel(const QList<int>& channels, double percent) {
    Run(Bounded(channels, [channels, percent](ScriptCommands& commands) {
        return commands.SetLevel(channels, percent);
    }));
}

void BusObject::AllOff() {
    Run([](ScriptCommands& commands) { return commands.AllOff(); });
}

void BusObject::Rename(int channel, const QString& name) {
    Run([channel, name](ScriptCommands& commands) { return commands.Rename(channel, name); });
}

void BusObject::SetGroupingMode(int mode) {
    Run([mode](ScriptCommands& commands) { return commands.SetGroupingMode(mode); });
}

void BusObject::SetGroup(int channel, int group) {
    Run([channel, group](ScriptCommands& commands) { return commands.SetGroup(channel, group); });
}

void BusObject::LoadFavourite(const QString& name) {
    Run([name](ScriptCommands& commands) { return commands.LoadFavourite(name); });
}

void BusObject::SetTimeout(int channel, int minutes) {
    Run([channel, minutes](ScriptCommands& commands) { return commands.SetTimeout(channel, minutes); });
}

void BusObject::SetSequence(int channel, int step) {
    Run([channel, step](ScriptCommands& commands) { return commands.SetSequence(channel, step); });
}
