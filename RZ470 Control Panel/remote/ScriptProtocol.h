#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

class ScriptCommands;
struct ScriptReply;

// The socket's line protocol over the command layer: one command line in, one answer line out
// ("ok", "ok <JSON>", "error <kind> <message>"), and the event lines a watching client receives.
class ScriptProtocol {
public:
    // A line longer than this (without its newline) ends the client.
    static constexpr int kMaxLine = 4096;
    // What a client sending a line too long is told before it is ended.
    static constexpr const char* kTooLong = "a line is longer than 4096 bytes";

    explicit ScriptProtocol(ScriptCommands& commands) : commands_(commands) {}

    // Why a received line (its newline removed) is not text, as the client is told before it is
    // ended; none when it is UTF-8 without NUL or other control characters but the tab.
    static std::optional<QString> NotText(const QByteArray& line);
    // The answer to one line, without its newline.
    QByteArray Answer(const QString& line);
    // Whether the line asks for the event stream.
    static bool IsWatch(const QString& line);

    static QByteArray ReplyLine(const ScriptReply& reply);
    static QByteArray ChannelEvent(int channel, bool on, int level, const QString& name, const QString& by);
    static QByteArray AlarmEvent(int channel, bool raised, uint bits);
    static QByteArray UnitEvent(bool found);
    // One line per command word: its usage.
    static QStringList Usage();

private:
    ScriptCommands& commands_;
};
