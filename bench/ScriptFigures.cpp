#include "ScriptFigures.h"

#include "Measure.h"
#include "OffscreenPanel.h"
#include "ScriptCommands.h"
#include "ScriptSocketServer.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTimer>

#include <atomic>
#include <thread>

namespace bench {

namespace {

// A local socket that sends every line back as it came.
class EchoServer {
public:
    explicit EchoServer(const QString& address) {
        server_.listen(address);
        QObject::connect(&server_, &QLocalServer::newConnection, [this] {
            while (QLocalSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QLocalSocket::readyRead, socket, [socket] {
                    while (socket->canReadLine()) {
                        socket->write(socket->readLine());
                    }
                });
            }
        });
    }

private:
    QLocalServer server_;
};

// Runs client on a thread of its own while this thread serves the sockets; returns when it ends.
void ServeWhile(const std::function<void()>& client) {
    std::atomic<bool> done{false};
    std::thread thread([&] {
        client();
        done = true;
    });
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done) {
            loop.quit();
        }
    });
    poll.start(1);
    loop.exec();
    thread.join();
}

// Round trips of line, one after the other, each in nanoseconds; empty when the socket failed.
std::vector<double> TimedRoundTrips(const QString& address, int count,
                                    const std::function<QByteArray(int)>& line) {
    std::vector<double> times;
    QLocalSocket socket;
    socket.connectToServer(address);
    if (!socket.waitForConnected(5000)) {
        return times;
    }
    QElapsedTimer clock;
    for (int i = 0; i < count; ++i) {
        clock.start();
        socket.write(line(i) + '\n');
        socket.waitForBytesWritten(5000);
        while (!socket.canReadLine()) {
            if (!socket.waitForReadyRead(5000)) {
                return {};
            }
        }
        socket.readLine();
        times.push_back(static_cast<double>(clock.nsecsElapsed()));
    }
    return times;
}

QByteArray LevelLine(int i) {
    // Alternating, so each command changes the level.
    return i % 2 == 0 ? QByteArrayLiteral("level 3 45.5") : QByteArrayLiteral("level 3 45.0");
}

long ResidentKb() {
    QFile status(QStringLiteral("/proc/self/statm"));
    if (!status.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = status.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

}  // namespace

RoundTrips MeasureRoundTrips(OffscreenPanel& panel, int count) {
    QTemporaryDir folder;
    ScriptSocketServer scripts(panel.dialog().scriptCommands());
    const QString scriptAddress = folder.filePath(QStringLiteral("script"));
    const QString echoAddress = folder.filePath(QStringLiteral("echo"));
    scripts.Listen(scriptAddress);
    EchoServer echo(echoAddress);
    std::vector<double> script, bare;
    ServeWhile([&] {
        script = TimedRoundTrips(scriptAddress, count, LevelLine);
        bare = TimedRoundTrips(echoAddress, count, LevelLine);
    });
    if (script.empty() || bare.empty()) {
        return {-1, -1};
    }
    return {SpreadOf(script).median, SpreadOf(bare).median};
}

SustainedLevels MeasureSustainedLevels(OffscreenPanel& panel, int seconds) {
    QTemporaryDir folder;
    ScriptCommands& commands = panel.dialog().scriptCommands();
    ScriptSocketServer scripts(commands);
    const QString address = folder.filePath(QStringLiteral("script"));
    scripts.Listen(address);
    int changes = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&commands, &ScriptCommands::ChannelChanged,
                         [&changes](int channel, bool, int, const QString&, const QString& by) {
                             changes += channel == 3 && by == QLatin1String("script") ? 1 : 0;
                         });
    const long before = ResidentKb();
    int sent = 0;
    double elapsedNs = 0;
    ServeWhile([&] {
        QLocalSocket socket;
        socket.connectToServer(address);
        if (!socket.waitForConnected(5000)) {
            return;
        }
        QElapsedTimer clock;
        clock.start();
        while (clock.elapsed() < seconds * 1000LL) {
            socket.write(LevelLine(sent) + '\n');
            while (!socket.canReadLine()) {
                if (!socket.waitForReadyRead(5000)) {
                    return;
                }
            }
            socket.readLine();
            ++sent;
        }
        elapsedNs = static_cast<double>(clock.nsecsElapsed());
    });
    QObject::disconnect(counting);
    const rz470::ChannelRecord& shown = panel.dialog().session().table().shownAtPanel(2);
    const uint16_t last = (sent - 1) % 2 == 0 ? 455 : 450;
    return {elapsedNs > 0 ? sent / (elapsedNs / 1e9) : 0, sent > 0 && changes == sent,
            shown.intensity == last, ResidentKb() - before};
}

}  // namespace bench
