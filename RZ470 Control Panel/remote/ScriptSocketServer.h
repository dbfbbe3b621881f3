#pragma once

#include "ScriptProtocol.h"

#include <QObject>
#include <QString>

#include <unordered_map>

class QLocalServer;
class QLocalSocket;
class QTimer;
class ScriptCommands;

// The local socket scripts reach the panel on: each client's lines are answered in order, and a
// watching client is sent every event. A client that sends a line too long or bytes that are not
// text, or leaves a line unfinished for kHalfLineMs, has every line before that answered, is told
// why and is closed; one that lets its unread answers pile up is ended at once. The panel and the
// other clients go on.
class ScriptSocketServer : public QObject {
    Q_OBJECT

public:
    static constexpr int kMaxClients = 256;
    // Answers and events a client has not taken yet; past this it is ended.
    static constexpr qint64 kMaxUnsent = qint64{1} << 20;
    // What is read from a client ahead of the line being answered.
    static constexpr qint64 kReadAhead = 4 * ScriptProtocol::kMaxLine;
    // How long a begun line may stay unfinished with nothing more coming.
    static constexpr int kHalfLineMs = 30000;
    // How long a closed client has to take its last answers before it is ended.
    static constexpr int kClosingMs = 5000;

    explicit ScriptSocketServer(ScriptCommands& commands, QObject* parent = nullptr);
    ~ScriptSocketServer() override;

    // Listens at address (a path, or a pipe name on Windows), open to this user only; a socket
    // left there by a panel that ended is replaced. Only the panel holding the one-panel lock
    // calls it.
    bool Listen(const QString& address);
    QString errorString() const;
    int clientCount() const { return static_cast<int>(clients_.size()); }

private:
    struct Client {
        bool waiting = false;      // a line of it is being answered or waits for the tick to end
        bool dispatching = false;  // inside RunWhenIdle: an answer now needs no further push
        bool watching = false;
        bool closing = false;        // told why it is closed; nothing more is read from it
        QTimer* halfLine = nullptr;  // runs while a begun line waits for the rest
    };

    void Take();
    void Serve(QLocalSocket* socket);
    // The client's unfinished line, if any, is timed from now.
    void Heard(QLocalSocket* socket);
    void Send(QLocalSocket* socket, const QByteArray& line);
    // Tells the client why and closes it once its answers are out.
    void Refuse(QLocalSocket* socket, const QString& why);
    void End(QLocalSocket* socket);
    void Broadcast(const QByteArray& line);

    ScriptCommands& commands_;
    ScriptProtocol protocol_;
    QLocalServer* server_;
    std::unordered_map<QLocalSocket*, Client> clients_;
};
