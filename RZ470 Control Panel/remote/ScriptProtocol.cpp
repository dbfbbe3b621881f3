#include "ScriptProtocol.h"

#include "ScriptCommands.h"
#include "ScriptWords.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QLocale>
#include <QStringDecoder>

namespace {

using Args = QStringList;
using Run = ScriptReply (*)(ScriptCommands&, const Args&);

struct Command {
    const char* word;
    const char* usage;
    int minArgs;
    int maxArgs;  // -1: any number
    Run run;
};

ScriptReply UsageError(const QString& message) {
    return ScriptReply::Error(scripterrors::kUsage, message);
}

std::optional<int> Int(const QString& text) {
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    return ok ? std::optional<int>(value) : std::nullopt;
}

// Channel numbers, every word of args from first up to (not including) last.
std::optional<QList<int>> Channels(const Args& args, qsizetype first, qsizetype last) {
    QList<int> channels;
    for (qsizetype i = first; i < last; ++i) {
        const std::optional<int> channel = Int(args[i]);
        if (!channel) {
            return std::nullopt;
        }
        channels << *channel;
    }
    return channels;
}

ScriptReply Value(const QJsonObject& object) {
    return ScriptReply::Done(object);
}

ScriptReply Value(const QStringList& list) {
    return ScriptReply::Done(QJsonArray::fromStringList(list));
}

ScriptReply Switch(ScriptCommands& commands, const Args& args, bool on) {
    const std::optional<QList<int>> channels = Channels(args, 0, args.size());
    return channels ? commands.Switch(*channels, on)
                    : UsageError(QStringLiteral("channels are numbers 1 to 9"));
}

ScriptReply Level(ScriptCommands& commands, const Args& args) {
    const std::optional<QList<int>> channels = Channels(args, 0, args.size() - 1);
    bool ok = false;
    const double percent = QLocale::c().toDouble(args.last(), &ok);
    if (!channels || !ok) {
        return UsageError(QStringLiteral("level N [N...] PERCENT"));
    }
    return commands.SetLevel(*channels, percent);
}

// A channel and a number after it.
template <ScriptReply (ScriptCommands::*Act)(int, int)>
ScriptReply ChannelAndNumber(ScriptCommands& commands, const Args& args) {
    const std::optional<int> channel = Int(args[0]);
    const std::optional<int> number = Int(args[1]);
    if (!channel || !number) {
        return UsageError(QStringLiteral("two numbers expected"));
    }
    return (commands.*Act)(*channel, *number);
}

const Command kCommands[] = {
    {"status", "status", 0, 0, [](ScriptCommands& c, const Args&) { return Value(c.Status()); }},
    {"channel", "channel N", 1, 1,
     [](ScriptCommands& c, const Args& a) {
         const std::optional<int> channel = Int(a[0]);
         return channel ? c.Channel(*channel) : UsageError(QStringLiteral("channel N"));
     }},
    {"grouping", "grouping", 0, 0, [](ScriptCommands& c, const Args&) { return Value(c.Grouping()); }},
    {"trigger", "trigger", 0, 0, [](ScriptCommands& c, const Args&) { return Value(c.Trigger()); }},
    {"favourites", "favourites", 0, 0, [](ScriptCommands& c, const Args&) { return Value(c.Favourites()); }},
    {"errors", "errors", 0, 0, [](ScriptCommands& c, const Args&) { return Value(c.Errors()); }},
    {"on", "on N [N...]", 1, ScriptCommands::kChannels,
     [](ScriptCommands& c, const Args& a) { return Switch(c, a, true); }},
    {"off", "off N [N...]", 1, ScriptCommands::kChannels,
     [](ScriptCommands& c, const Args& a) { return Switch(c, a, false); }},
    {"level", "level N [N...] PERCENT", 2, ScriptCommands::kChannels + 1, &Level},
    {"all-off", "all-off", 0, 0, [](ScriptCommands& c, const Args&) { return c.AllOff(); }},
    {"name", "name N TEXT", 2, -1,
     [](ScriptCommands& c, const Args& a) {
         const std::optional<int> channel = Int(a[0]);
         return channel ? c.Rename(*channel, a.mid(1).join(QLatin1Char(' ')))
                        : UsageError(QStringLiteral("name N TEXT"));
     }},
    {"grouping-mode", "grouping-mode 0|1|2", 1, 1,
     [](ScriptCommands& c, const Args& a) {
         const std::optional<int> mode = Int(a[0]);
         return mode ? c.SetGroupingMode(*mode) : UsageError(QStringLiteral("grouping-mode 0|1|2"));
     }},
    {"group", "group N G", 2, 2, &ChannelAndNumber<&ScriptCommands::SetGroup>},
    {"load", "load NAME", 1, -1,
     [](ScriptCommands& c, const Args& a) { return c.LoadFavourite(a.join(QLatin1Char(' '))); }},
    {"timeout", "timeout N MINUTES", 2, 2, &ChannelAndNumber<&ScriptCommands::SetTimeout>},
    {"sequence", "sequence N STEP", 2, 2, &ChannelAndNumber<&ScriptCommands::SetSequence>},
    {"watch", "watch", 0, 0, [](ScriptCommands&, const Args&) { return ScriptReply::Done(); }},
    {"help", "help", 0, 0, [](ScriptCommands&, const Args&) { return Value(ScriptProtocol::Usage()); }},
};

}  // namespace

std::optional<QString> ScriptProtocol::NotText(const QByteArray& line) {
    for (const char byte : line) {
        const auto unit = static_cast<unsigned char>(byte);
        if ((unit < 0x20 && unit != '\t') || unit == 0x7F) {
            return QStringLiteral("a line holds the control byte 0x%1")
                .arg(uint(unit), 2, 16, QLatin1Char('0'));
        }
    }
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(line);
    if (decoder.hasError()) {
        return QStringLiteral("a line is not UTF-8 text");
    }
    return std::nullopt;
}

QStringList ScriptProtocol::Usage() {
    QStringList usage;
    for (const Command& command : kCommands) {
        usage << QString::fromLatin1(command.usage);
    }
    return usage;
}

bool ScriptProtocol::IsWatch(const QString& line) {
    const std::optional<QStringList> words = scriptwords::Split(line);
    return words && words->size() == 1 && words->first() == QLatin1String("watch");
}

QByteArray ScriptProtocol::Answer(const QString& line) {
    const std::optional<QStringList> words = scriptwords::Split(line);
    if (!words) {
        return ReplyLine(UsageError(QStringLiteral("a quote is left open")));
    }
    if (words->isEmpty()) {
        return ReplyLine(UsageError(QStringLiteral("empty line")));
    }
    const QString& word = words->first();
    const QStringList args = words->mid(1);
    for (const Command& command : kCommands) {
        if (word != QLatin1String(command.word)) {
            continue;
        }
        if (args.size() < command.minArgs || (command.maxArgs >= 0 && args.size() > command.maxArgs)) {
            return ReplyLine(UsageError(QString::fromLatin1(command.usage)));
        }
        return ReplyLine(command.run(commands_, args));
    }
    return ReplyLine(UsageError(QStringLiteral("no command \"%1\"; try help").arg(word.left(40))));
}

QByteArray ScriptProtocol::ReplyLine(const ScriptReply& reply) {
    QString line = QStringLiteral("ok");
    if (!reply.ok) {
        line = QStringLiteral("error ") + reply.kind + QLatin1Char(' ') + reply.message.simplified();
    } else if (reply.value.isObject()) {
        line += QLatin1Char(' ') +
                QString::fromUtf8(QJsonDocument(reply.value.toObject()).toJson(QJsonDocument::Compact));
    } else if (reply.value.isArray()) {
        line += QLatin1Char(' ') +
                QString::fromUtf8(QJsonDocument(reply.value.toArray()).toJson(QJsonDocument::Compact));
    }
    // A name or a word the client sent may come back in it.
    return scriptwords::OneLine(line).toUtf8();
}

QByteArray ScriptProtocol::ChannelEvent(int channel, bool on, int level, const QString& name,
                                        const QString& by) {
    return scriptwords::OneLine(QStringLiteral("event channel %1 on=%2 level=%3 name=\"%4\" by=%5")
                                    .arg(channel)
                                    .arg(on ? 1 : 0)
                                    .arg(level)
                                    .arg(scriptwords::Escaped(name), by))
        .toUtf8();
}

QByteArray ScriptProtocol::AlarmEvent(int channel, bool raised, uint bits) {
    return QStringLiteral("event alarm %1 %2 bits=0x%3")
        .arg(channel)
        .arg(raised ? QStringLiteral("raised") : QStringLiteral("cleared"))
        .arg(bits, 4, 16, QLatin1Char('0'))
        .toUtf8();
}

QByteArray ScriptProtocol::UnitEvent(bool found) {
    return found ? QByteArrayLiteral("event unit found") : QByteArrayLiteral("event unit lost");
}
