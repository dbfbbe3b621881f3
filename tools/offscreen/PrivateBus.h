#pragma once

// A session bus of a test's or tool's own, so that nothing on the machine's bus sees or answers
// it. It becomes the process's session bus while it lives.
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class PrivateBus {
public:
    PrivateBus() {
        daemon_.start(QStringLiteral("dbus-daemon"),
                      {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                       QStringLiteral("--print-address=1"),
                       QStringLiteral("--address=unix:path=") + folder_.path() + QStringLiteral("/bus")});
        if (!daemon_.waitForStarted(10000)) {
            return;
        }
        while (!daemon_.canReadLine() && daemon_.waitForReadyRead(10000)) {
        }
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    ~PrivateBus() {
        daemon_.terminate();
        daemon_.waitForFinished(5000);
    }
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    bool running() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
};
