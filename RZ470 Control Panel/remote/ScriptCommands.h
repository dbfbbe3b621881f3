#pragma once

#include <QJsonObject>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

class ChannelActions;
class GroupingEdits;
class PanelSettings;
class QTimer;
class TriggerEdits;
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

    // "Allow scripting": off refuses every act. Kept in the panel's settings.
    bool scriptingAllowed() const;
    void SetScriptingAllowed(bool allowed);
    // Whether the panel's demo loop runs, asked on every tick; acts are refused meanwhile.
    bool demoLoopRunning() const { return demoLoop_; }
    void SetDemoLoopQuery(std::function<bool()> running) { demoLoopQuery_ = std::move(running); }
    // Texts only the panel builds: its error list and the serial number as it prints it.
    void SetErrorSource(std::function<QStringList()> errors) { errors_ = std::move(errors); }
    void SetSerialSource(std::function<QString()> serial) { serial_ = std::move(serial); }

    // Whether a command may run now: not inside a poll tick (a message box a tick opened runs a
    // loop in which commands arrive). RunWhenIdle runs job now or, in order, once the tick has
    // ended; false when kMaxWaiting wait already. With no unit (lost, or not found yet) nothing
    // waits: the tick that found it gone may keep its message up until someone clicks, and the
    // answers then touch no unit (acts are absent, reads say there is none).
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
    // A script asked for a channel's switch: the screen shows the state asked for, as it does
    // for a click, until the unit's next status read says how it is.
    void ScriptSwitched(int channel, bool on);
    // A script changed the grouping or trigger tables.
    void TablesChanged();

private:
    struct Seen {
        bool on = false;
        int level = -1;
        QString name;
        uint alarm = 0;
    };
    // A switch asked for and not yet read back, and who asked.
    struct AskedSwitch {
        bool pending = false;
        bool on = false;
        QString by;
        int readsLeft = 0;
    };

    // No unit answers the panel: never found, lost, or the panel has ended.
    bool UnitGone() const;
    bool MayRunNow() const;
    // Why an act may not run now; none when it may.
    std::optional<ScriptReply> ActRefusal() const;
    // The channels as panel positions, or the usage error they earn.
    std::optional<ScriptReply> CheckChannels(const QList<int>& channels) const;
    ScriptReply Reply(const ActionResult& result, int channel) const;
    static bool IsChannel(int channel) { return channel >= 1 && channel <= kChannels; }
    size_t IndexOf(int channel) const;
    bool IsFitted(int channel) const;
    QJsonObject ChannelObject(int channel) const;
    // Runs an act with its changes marked as the script's, then reports them.
    template <typename Act>
    ScriptReply Acting(Act&& act);

    Seen SeenNow(int channel) const;
    // What is known now against what was last reported: the differences are reported as by's.
    void Observe(const QString& by);
    void TickStarting();
    void ValuesRead();
    void SwitchAsked(size_t channel, bool on);
    void Lost();
    void DrainWaiting();
    void TablesEdited();

    UnitSession& session_;
    PanelSettings& settings_;
    std::unique_ptr<ChannelActions> channels_;
    std::unique_ptr<GroupingEdits> grouping_;
    std::unique_ptr<TriggerEdits> trigger_;
    std::function<bool()> demoLoopQuery_;
    std::function<QStringList()> errors_;
    std::function<QString()> serial_;
    bool demoLoop_ = false;
    bool connected_ = false;
    bool acting_ = false;
    uint unitAlarm_ = 0;
    uint16_t unitStatus_ = 0;
    std::array<Seen, kChannels> seen_{};
    std::array<AskedSwitch, kChannels> asked_{};
    std::deque<std::function<void()>> waiting_;
    QTimer* drain_;
};
