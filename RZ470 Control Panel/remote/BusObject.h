#pragma once

#include "ChangedProperties.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QJsonValue>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <functional>

class ScriptCommands;
struct ScriptReply;

// The panel's object on the session bus: each method calls the command layer, a refusal comes
// back as an error named after its kind, and the properties announce their changes. The
// generated adaptor forwards to it.
class BusObject : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_PROPERTY(bool Connected READ connected)
    Q_PROPERTY(QString Model READ model)
    Q_PROPERTY(QString SerialNumber READ serialNumber)
    Q_PROPERTY(QList<bool> On READ on)
    Q_PROPERTY(QList<int> Levels READ levels)
    Q_PROPERTY(QStringList Names READ names)
    Q_PROPERTY(bool ScriptingAllowed READ scriptingAllowed)
    Q_PROPERTY(bool DemoLoopRunning READ demoLoopRunning)

public:
    static const QString kInterface;
    static const QString kPath;
    // One call's work on the command layer, run once no poll tick runs.
    using Command = std::function<ScriptReply(ScriptCommands&)>;

    BusObject(ScriptCommands& commands, const QDBusConnection& bus, QObject* parent = nullptr);

    // The error name a refusal of this kind (as the socket writes it) has on the bus.
    static QString ErrorName(const QString& kind);

    // Every property by name, read from the command layer now.
    QVariantMap Properties() const;

    bool connected() const { return Properties().value(QStringLiteral("Connected")).toBool(); }
    QString model() const { return Properties().value(QStringLiteral("Model")).toString(); }
    QString serialNumber() const { return Properties().value(QStringLiteral("SerialNumber")).toString(); }
    QList<bool> on() const { return Properties().value(QStringLiteral("On")).value<QList<bool>>(); }
    QList<int> levels() const { return Properties().value(QStringLiteral("Levels")).value<QList<int>>(); }
    QStringList names() const { return Properties().value(QStringLiteral("Names")).toStringList(); }
    bool scriptingAllowed() const;
    bool demoLoopRunning() const;

    // What the adaptor calls. Each answers through the bus itself, once no poll tick runs; the
    // value returned here is not sent.
    QVariantMap GetStatus();
    QVariantMap GetChannel(int channel);
    QVariantMap GetGrouping();
    QVariantMap GetTrigger();
    QStringList GetFavourites();
    QStringList GetErrors();
    void SwitchOn(const QList<int>& channels);
    void SwitchOff(const QList<int>& channels);
    void SetLevel(const QList<int>& channels, double percent);
    void AllOff();
    void Rename(int channel, const QString& name);
    void SetGroupingMode(int mode);
    void SetGroup(int channel, int group);
    void LoadFavourite(const QString& name);
    void SetTimeout(int channel, int minutes);
    void SetSequence(int channel, int step);

signals:
    void ChannelChanged(int channel, bool on, int level, const QString& name, const QString& by);
    void AlarmChanged(int channel, bool raised, uint bits);
    void UnitFound();
    void UnitLost();

private:
    using ToBus = QVariant (*)(const QJsonValue&);
    // Runs command for the call being handled, now or once the poll tick has ended, and replies
    // with its refusal or with its value as out makes it (nothing for an act).
    void Run(Command command, ToBus out = nullptr);
    void AnnounceChangedProperties();

    ScriptCommands& commands_;
    QDBusConnection bus_;
    ChangedProperties announced_;
};
