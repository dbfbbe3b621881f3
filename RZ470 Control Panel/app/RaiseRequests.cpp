#include "RaiseRequests.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

namespace {

const QByteArray kRequest = QByteArrayLiteral("raise\n");
const QByteArray kReply = QByteArrayLiteral("ok\n");
// Whatever connects is read no further than this.
constexpr qint64 kMaxRequest = 64;

QString SocketPath(const QString& folder) {
    return QDir(folder).filePath(QString::fromLatin1(RaiseRequests::kSocketName));
}

}  // namespace

RaiseRequests::RaiseRequests(QObject* parent) : QObject(parent), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &RaiseRequests::TakeConnection);
}

RaiseRequests::~RaiseRequests() = default;

bool RaiseRequests::Listen(const QString& folder) {
    const QString path = SocketPath(folder);
    // Only the lock's holder gets here, so a socket already there is a dead panel's.
    QLocalServer::removeServer(path);
    return server_->listen(path);
}

void RaiseRequests::TakeConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            if (!socket->canReadLine()) {
                if (socket->bytesAvailable() > kMaxRequest) {
                    socket->abort();
                }
                return;
            }
            const QByteArray line = socket->readLine(kMaxRequest);
            if (line == kRequest) {
                socket->write(kReply);
                socket->flush();
                emit RaiseRequested();
            }
            socket->disconnectFromServer();
        });
    }
}

bool RaiseRequests::AskToRaise(const QString& folder, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    // The running panel takes its lock a moment before it listens.
    while (true) {
        QLocalSocket socket;
        socket.connectToServer(SocketPath(folder));
        if (socket.waitForConnected(int(deadline.remainingTime()))) {
            socket.write(kRequest);
            if (!socket.waitForBytesWritten(int(deadline.remainingTime()))) {
                return false;
            }
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(int(deadline.remainingTime()))) {
                    return false;
                }
            }
            return socket.readLine(kMaxRequest) == kReply;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(50);
    }
}
