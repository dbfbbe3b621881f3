#pragma once

#include <QByteArray>
#include <QLocalSocket>
#include <QString>
#include <QTest>

#include <optional>

// A script on the panel's socket, in the panel's own thread: every wait lets the panel run.
class ScriptClient {
public:
    bool connectTo(const QString& address, int timeoutMs = 5000) {
        socket.connectToServer(address);
        for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QTest::qWait(1)) {
            if (socket.state() == QLocalSocket::ConnectedState) {
                return true;
            }
        }
        return false;
    }
    void send(const QByteArray& bytes) {
        socket.write(bytes);
        socket.flush();
    }
    // The next line without its newline; none when none came in time.
    std::optional<QByteArray> line(int timeoutMs = 5000) {
        for (QDeadlineTimer deadline(timeoutMs); !socket.canReadLine(); QTest::qWait(1)) {
            if (deadline.hasExpired()) {
                return std::nullopt;
            }
        }
        QByteArray read = socket.readLine();
        read.chop(1);
        return read;
    }
    QByteArray ask(const QByteArray& command) {
        send(command + '\n');
        return line().value_or(QByteArrayLiteral("<no answer>"));
    }
    // Whether the panel ended this client within the time.
    bool ended(int timeoutMs = 5000) {
        for (QDeadlineTimer deadline(timeoutMs); socket.state() != QLocalSocket::UnconnectedState;
             QTest::qWait(1)) {
            if (deadline.hasExpired()) {
                return false;
            }
        }
        return true;
    }

    QLocalSocket socket;
};
