#include "ScriptSocketServer.h"

#include "ScriptCommands.h"

#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QTimer>

#include <vector>

ScriptSocketServer::ScriptSocketServer(ScriptCommands& commands, QObject* parent)
    : QObject(parent), commands_(commands), protocol_(commands), server_(new QLocalServer(this)) {
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    server_->setMaxPendingConnections(kMaxClients);
    connect(server_, &QLocalServer::newConnection, this, &ScriptSocketServer::Take);

    connect(&commands_, &ScriptCommands::ChannelChanged, this,
            [this](int channel, bool on, int level, const QString& name, const QString& by) {
                Broadcast(ScriptProtocol::ChannelEvent(channel, on, level, name, by));
            });
    connect(&commands_, &ScriptCommands::AlarmChanged, this, [this](int channel, bool raised, uint bits) {
        Broadcast(ScriptProtocol::AlarmEvent(channel, raised, bits));
    });
    connect(&commands_, &ScriptCommands::UnitFound, this,
            [this] { Broadcast(ScriptProtocol::UnitEvent(true)); });
    connect(&commands_, &ScriptCommands::UnitLost, this,
            [this] { Broadcast(ScriptProtocol::UnitEvent(false)); });
}

ScriptSocketServer::~ScriptSocketServer() {
    // The sockets are the server's children; nothing of theirs may run into a half-gone server.
    for (auto& [socket, client] : clients_) {
        socket->disconnect(this);
    }
}

bool ScriptSocketServer::Listen(const QString& address) {
    QLocalServer::removeServer(address);
    return server_->listen(address);
}

QString ScriptSocketServer::errorString() const {
    return server_->errorString();
}

void ScriptSocketServer::Take() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        if (clients_.size() >= static_cast<size_t>(kMaxClients)) {
            socket->write(
                ScriptProtocol::ReplyLine(ScriptReply::Error(
                    scripterrors::kBusy, QStringLiteral("too many clients: %1 open").arg(clients_.size()))) +
                '\n');
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            QTimer::singleShot(kClosingMs, socket, &QLocalSocket::abort);
            socket->disconnectFromServer();
            continue;
        }
        socket->setReadBufferSize(kReadAhead);
        Client client;
        client.halfLine = new QTimer(socket);
        client.halfLine->setSingleShot(true);
        client.halfLine->setInterval(kHalfLineMs);
        connect(client.halfLine, &QTimer::timeout, this, [this, socket] {
            Refuse(socket, QStringLiteral("a line was left unfinished for %1 s").arg(kHalfLineMs / 1000));
        });
        clients_.emplace(socket, client);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { Heard(socket); });
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] { End(socket); });
        // Some lines may have come with the connection.
        Serve(socket);
    }
}

void ScriptSocketServer::Heard(QLocalSocket* socket) {
    if (const auto found = clients_.find(socket); found != clients_.end()) {
        found->second.halfLine->stop();
    }
    Serve(socket);
}

void ScriptSocketServer::Serve(QLocalSocket* socket) {
    while (true) {
        const auto found = clients_.find(socket);
        if (found == clients_.end() || found->second.waiting || found->second.closing) {
            return;
        }
        if (!socket->canReadLine()) {
            if (socket->bytesAvailable() > ScriptProtocol::kMaxLine) {
                Refuse(socket, QString::fromLatin1(ScriptProtocol::kTooLong));
            } else if (socket->bytesAvailable() == 0) {
                found->second.halfLine->stop();
            } else if (!found->second.halfLine->isActive()) {
                found->second.halfLine->start();
            }
            return;
        }
        QByteArray line = socket->readLine(ScriptProtocol::kMaxLine + 3);
        if (!line.endsWith('\n')) {
            Refuse(socket, QString::fromLatin1(ScriptProtocol::kTooLong));
            return;
        }
        line.chop(line.endsWith("\r\n") ? 2 : 1);
        if (line.size() > ScriptProtocol::kMaxLine) {
            Refuse(socket, QString::fromLatin1(ScriptProtocol::kTooLong));
            return;
        }
        if (const std::optional<QString> notText = ScriptProtocol::NotText(line)) {
            Refuse(socket, *notText);
            return;
        }
        if (line.trimmed().isEmpty()) {
            continue;
        }
        const QString text = QString::fromUtf8(line);
        Client& client = found->second;
        client.waiting = true;
        client.dispatching = true;
        const QPointer<QLocalSocket> guard(socket);
        const bool taken = commands_.RunWhenIdle([this, guard, text] {
            const auto it = guard ? clients_.find(guard.data()) : clients_.end();
            if (it == clients_.end()) {
                return;
            }
            it->second.waiting = false;
            it->second.watching = it->second.watching || ScriptProtocol::IsWatch(text);
            const bool deferred = !it->second.dispatching;
            Send(guard, protocol_.Answer(text));
            // Answered after the tick: the client's next lines were left unread meanwhile.
            if (deferred && guard) {
                Serve(guard);
            }
        });
        if (clients_.count(socket) == 0) {
            return;
        }
        client.dispatching = false;
        if (!taken) {
            client.waiting = false;
            Send(socket, ScriptProtocol::ReplyLine(ScriptReply::Error(
                             scripterrors::kBusy, QStringLiteral("too many commands waiting"))));
        }
    }
}

void ScriptSocketServer::Send(QLocalSocket* socket, const QByteArray& line) {
    if (clients_.count(socket) == 0) {
        return;
    }
    socket->write(line + '\n');
    if (socket->bytesToWrite() > kMaxUnsent) {
        End(socket);
    }
}

void ScriptSocketServer::Refuse(QLocalSocket* socket, const QString& why) {
    const auto found = clients_.find(socket);
    if (found == clients_.end() || found->second.closing) {
        return;
    }
    Send(socket, ScriptProtocol::ReplyLine(ScriptReply::Error(scripterrors::kUsage, why)));
    const auto still = clients_.find(socket);
    if (still == clients_.end()) {
        return;
    }
    // It counts against the limit until it is gone.
    still->second.closing = true;
    still->second.halfLine->stop();
    QTimer::singleShot(kClosingMs, socket, [this, socket] { End(socket); });
    socket->disconnectFromServer();
}

void ScriptSocketServer::End(QLocalSocket* socket) {
    if (clients_.erase(socket) == 0) {
        return;
    }
    socket->disconnect(this);
    socket->abort();
    socket->deleteLater();
}

void ScriptSocketServer::Broadcast(const QByteArray& line) {
    std::vector<QLocalSocket*> watching;
    for (const auto& [socket, client] : clients_) {
        if (client.watching && !client.closing) {
            watching.push_back(socket);
        }
    }
    for (QLocalSocket* socket : watching) {
        Send(socket, line);
    }
}
