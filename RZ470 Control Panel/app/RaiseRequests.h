#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// How a second start reaches the panel already running: a local socket in the panel's private
// folder on which it asks for the window to come to the front.
class RaiseRequests : public QObject {
    Q_OBJECT

public:
    static constexpr const char* kSocketName = "raise";

    explicit RaiseRequests(QObject* parent = nullptr);
    ~RaiseRequests() override;

    // Listens in folder; a socket left there by a panel that ended is replaced.
    bool Listen(const QString& folder);

    // The second start's side: true when the running panel took the request within timeoutMs.
    static bool AskToRaise(const QString& folder, int timeoutMs);

signals:
    void RaiseRequested();

private:
    void TakeConnection();

    QLocalServer* server_;
};
