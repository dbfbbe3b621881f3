#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

class BusObject;
class ScriptCommands;

// Puts the command layer on a bus under the panel's well-known name for as long as it lives.
class BusService : public QObject {
    Q_OBJECT

public:
    static const QString kName;

    enum class Outcome { Serving, NoBus, NameTaken };

    BusService(ScriptCommands& commands, const QDBusConnection& bus, QObject* parent = nullptr);
    ~BusService() override;

    Outcome Start();
    // Why the bus does not serve, for the panel's one line on stderr.
    static QString Explain(Outcome outcome);

private:
    QDBusConnection bus_;
    BusObject* object_;
    bool serving_ = false;
};
