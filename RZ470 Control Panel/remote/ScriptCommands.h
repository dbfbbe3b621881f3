#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <deque>
#include <functional>
#include <optional>

class PanelSettings;
class UnitSession;
struct ActionResult;

// The answer to one command: done (ok, and for a read its value), or an error of a kind with the
// text the panel shows for it.
struct ScriptReply {
    bool ok = true;
    QString kind;
    QString message;
    QJsonValue value;

    static ScriptReply Done(const QJsonValue& value = {}) { return {true, {}, {}, value}; }
    static ScriptReply Error(const QString& kind, const QString& message) {
        return {false, kind, message, {}};
    }
};

// The error kinds, as the socket writes them.
namespace scripterrors {
inline const QString kUsage = QStringLiteral("usage");
inline const QString kRefused = QStringLiteral("refused");
inline const QString kBusy = QStringLiteral("busy");
inline const QString kOff = QStringLiteral("off");
inline const QString kAbsent = QStringLiteral("absent");
inline const QString kNotFound = QStringLiteral("not-found");
}  // namespace scripterrors

// Who changed a channel, as events name it.
namespace changedby {
inline const QString kPanel = QStringLiteral("panel");
inline const QString kScript = QStringLiteral("script");
inline const QString kUnit = QStringLiteral("unit");
}  // namespace changedby

// What a script may read and do to the unit while the panel runs it: every act goes the way the
// same click goes, so it meets the same refusals and stores the same values, but it never opens
// a dialog. Channels are numbered 1..9 as the panel labels them; levels read in tenths of a
// percent. Both transports call it from the panel's thread.
class ScriptCommands : public QObject {
    Q_OBJECT

public:
    static constexpr int kChannels = 9;
    // Commands waiting for a poll tick to end; past this the transport answers busy.
    static constexpr size_t kMaxWaiting = 256;

    ScriptCommands(UnitSession& session, PanelSettings& settings, QObject* parent = nullptr);
    ~ScriptCommands() override;

    // reads (never refused, whether or not scripting is allowed)
    QJsonObject Status() const;
    ScriptReply Channel(int channel) const;
    QJsonObject Grouping() const;
    QJsonObject Trigger() const;
    QStringList Favourites() const;
    QStringList Errors() const;

    // acts: each runs the same action a click runs; never opens a dialog
    ScriptReply Switch(const QList<int>& channels, bool on);
    ScriptReply SetLevel(const QList<int>& channels, double percent);
    ScriptReply AllOff();
    ScriptReply Rename(int channel, const QString& name);
    ScriptReply SetGroupingMode(int mode);
    ScriptReply SetGroup(int channel, int group);
    ScriptReply LoadFavourite(const QString& name);
    ScriptReply SetTimeout(int channel, int minutes);
    ScriptReply SetSequence(int channel, int step);

    // "Allow scripting": off refuses every act; stored by the panel's settings.
    bool scriptingAllowed() const;
    void SetScriptingAllowed(bool allowed);
    // The panel tells when its demo loop starts and stops; acts are refused meanwhile.
    bool demoLoopRunning() const { return demoLoop_; }
    void SetDemoLoopRunning(bool running);
    // The panel's error list, which the panel keeps.
    void SetErrorSource(std::function<QStringList()> errors) { errors_ = std::move(errors); }

    // The panel changed something by a click: what differs now is the panel's doing. A switch
    // asked for shows with the next status read and is the panel's then.
    void PanelActed();
    // A switch the panel asked the unit for, by panel position 0..8.
    void PanelAskedSwitch(int panel, bool on);

    // Whether a command may run now: not inside a poll tick (a message box a tick opened runs a
    // loop in which commands arrive). RunWhenIdle runs job now or, in order, once the tick has
    // ended; false when too many wait already.
    bool idle() const;
    bool RunWhenIdle(std::function<void()> job);

signals:
    void ChannelChanged(int channel, bool on, int level, const QString& name, const QString& by);
    // channel 0: the unit's own bits
    void AlarmChanged(int channel, bool raised, uint bits);
    void UnitFound();
    void UnitLost();
    // Anything a read returns may differ now.
    void StateChanged();
    void ScriptingAllowedChanged(bool allowed);
    void DemoLoopChanged(bool running);

private:
    struct Seen {
        bool on = false;
        int level = -1;
        QString name;
        uint alarm = 0;
    };
    // A switch asked for and not yet read back, with who asked.
    struct AskedSwitch {
        bool pending = false;
        bool on = false;
        QString by;
        int readsLeft = 0;
    };

    // Why an act may not run now; none when it may.
    std::optional<ScriptReply> ActRefusal() const;
    static ScriptReply FromAction(const ActionResult& result);
    static bool IsChannel(int channel) { return channel >= 1 && channel <= kChannels; }
    int PanelOf(int channel) const;
    // Compares what is known now with what was last reported and reports the differences.
    void Observe(const QString& by);
    void UnitRead();
    void DrainWaiting();

    UnitSession& session_;
    PanelSettings& settings_;
    std::function<QStringList()> errors_;
    bool demoLoop_ = false;
    bool connected_ = false;
    uint unitAlarm_ = 0;
    std::array<Seen, kChannels> seen_{};
    std::array<AskedSwitch, kChannels> asked_{};
    std::deque<std::function<void()>> waiting_;
    class QTimer* drain_ = nullptr;
};
