#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

// A session bus of the test's own, so that nothing on the machine's bus sees or answers it. It
// becomes the process's session bus while it lives.
class PrivateBus {
public:
    PrivateBus();
    ~PrivateBus();

    bool running() const { return !address_.isEmpty(); }
    const QString& address() const { return address_; }

private:
    QTemporaryDir folder_;
    QProcess daemon_;
    QString address_;
};
