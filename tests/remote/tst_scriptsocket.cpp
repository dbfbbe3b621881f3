// The panel's script socket with clients in the same process: a scripted change reaches the
// unit and the screen, every answer line, the clients the panel ends and the ones it keeps
// serving, many clients at once, and the event stream.
#include "MainScreenLayout.h"
#include "PanelSettings.h"
#include "ScriptClient.h"
#include "ScriptCommands.h"
#include "ScriptSocketServer.h"
#include "ScriptedPanelTest.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtTest>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Resident memory of this process in KiB.
long ResidentKiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) {
        return -1;
    }
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * 4 : -1;
}

// What a client sending bytes in one go gets back until the panel closes it, read as a careful
// client reads: a send the closed socket refuses stops the sending, never the reading. None when
// the panel did not close it in time.
std::optional<QByteArray> SentAndClosed(const QString& address, QByteArray bytes, int timeoutMs = 10000) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un to{};
    to.sun_family = AF_UNIX;
    const QByteArray path = QFile::encodeName(address);
    std::memcpy(to.sun_path, path.constData(), std::min(sizeof to.sun_path - 1, size_t(path.size())));
    if (fd < 0 || ::connect(fd, reinterpret_cast<const sockaddr*>(&to), sizeof to) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return std::nullopt;
    }
    QByteArray received;
    for (QDeadlineTimer deadline(timeoutMs); !deadline.hasExpired(); QTest::qWait(1)) {
        if (!bytes.isEmpty()) {
            const ssize_t sent = ::send(fd, bytes.constData(), size_t(bytes.size()), MSG_NOSIGNAL);
            if (sent > 0) {
                bytes.remove(0, sent);
            } else if (sent < 0 && errno != EAGAIN) {
                bytes.clear();
            }
        }
        char buffer[4096];
        const ssize_t got = ::recv(fd, buffer, sizeof buffer, 0);
        if (got == 0) {
            ::close(fd);
            return received;
        }
        if (got > 0) {
            received.append(buffer, got);
        }
    }
    ::close(fd);
    return std::nullopt;
}

}  // namespace

class ScriptSocketTest : public ServedPanelTest {
    Q_OBJECT

private:
    std::unique_ptr<ScriptClient> connected() {
        auto client = std::make_unique<ScriptClient>();
        if (!client->connectTo(address())) {
            return nullptr;
        }
        return client;
    }
    // The panel reads the unit as it did before.
    bool stillPolls() {
        panel_->clearLog();
        panel_->tick(11);
        return panel_->calls().contains(QStringLiteral("GetUnitStatus")) &&
               panel_->calls().contains(QStringLiteral("GetIntensityLevel"));
    }

private slots:
    void cleanup() { stopServing(); }

    void theSocketIsTheUsersAlone() {
        const QFileInfo socket(address());
        QVERIFY(socket.exists());
        QCOMPARE(socket.permissions() &
                     (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
                 QFile::Permissions());
    }

    void aScriptedChangeReachesTheUnitAndTheScreen() {
        const auto client = connected();
        QVERIFY(client);
        QVERIFY(screenIsCurrent());
        const QImage before = surface().copy();
        QCOMPARE(client->ask("level 3 45.5"), QByteArray("ok"));
        QCOMPARE(client->ask("name 3 \"My dye\""), QByteArray("ok"));
        QCOMPARE(client->ask("on 3"), QByteArray("ok"));
        QCOMPARE(simField("channel3.intensity"), QStringLiteral("455"));
        QVERIFY(surface() != before);
        QCOMPARE(dialog().slider(2).value(), 1000 - 455);
        readBack();
        QCOMPARE(simField("channel3.on"), QStringLiteral("1"));
        QVERIFY(screenIsCurrent());
        const QJsonObject channel = QJsonDocument::fromJson(client->ask("channel 3").mid(3)).object();
        QCOMPARE(channel.value("name").toString(), QStringLiteral("My dye"));
        QCOMPARE(channel.value("level").toInt(), 455);
        QCOMPARE(channel.value("on").toBool(), true);
    }

    void answers_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("favourites") << QByteArray("favourites") << QByteArray("ok []");
        QTest::newRow("errors") << QByteArray("errors") << QByteArray("ok []");
        QTest::newRow("grouping") << QByteArray("grouping")
                                  << QByteArray("ok {\"groups\":[0,0,0,0,0,0,0,0,0],\"mode\":0}");
        QTest::newRow("spaces and tabs") << QByteArray(" \t on   3  ") << QByteArray("ok");
        QTest::newRow("CR LF") << QByteArray("off 3\r") << QByteArray("ok");
        QTest::newRow("all-off") << QByteArray("all-off") << QByteArray("ok");
        QTest::newRow("timeout") << QByteArray("timeout 2 30") << QByteArray("ok");
        QTest::newRow("unknown word")
            << QByteArray("bogus 1") << QByteArray("error usage no command \"bogus\"; try help");
        QTest::newRow("on alone") << QByteArray("on") << QByteArray("error usage on N [N...]");
        QTest::newRow("ten channels")
            << QByteArray("on 1 2 3 4 5 6 7 8 9 1") << QByteArray("error usage on N [N...]");
        QTest::newRow("not a number")
            << QByteArray("on x") << QByteArray("error usage channels are numbers 1 to 9");
        QTest::newRow("level without percent")
            << QByteArray("level 3") << QByteArray("error usage level N [N...] PERCENT");
        QTest::newRow("level of words")
            << QByteArray("level 3 lots") << QByteArray("error usage level N [N...] PERCENT");
        QTest::newRow("level with a comma")
            << QByteArray("level 3 4,5") << QByteArray("error usage level N [N...] PERCENT");
        QTest::newRow("channel 99") << QByteArray("channel 99")
                                    << QByteArray("error usage channels are 1 to 9");
        QTest::newRow("quote left open")
            << QByteArray("name 3 \"DAPI") << QByteArray("error usage a quote is left open");
        QTest::newRow("no such favourite") << QByteArray("load \"No such\"")
                                           << QByteArray("error not-found no favourite called \"No such\"");
        QTest::newRow("refused") << QByteArray("on 3 9") << QByteArray("error refused LED 9 is triggered");
        QTest::newRow("longest line")
            << QByteArray("x").repeated(4096)
            << QByteArray("error usage no command \"") + QByteArray("x").repeated(40) + "\"; try help";
    }

    void answers() {
        QFETCH(QByteArray, line);
        QFETCH(QByteArray, answer);
        simOk("triggered 9 1");
        readBack();
        const auto client = connected();
        QVERIFY(client);
        QCOMPARE(client->ask(line), answer);
        // One answer per line, and the client is still served.
        QVERIFY(client->ask("channel 1").startsWith("ok {"));
    }

    void blankLinesAreSkippedAndAnswersKeepTheirOrder() {
        const auto client = connected();
        QVERIFY(client);
        client->send("\n  \nlevel 2 10\nchannel 2\nbogus\nstatus\n");
        QCOMPARE(client->line(), std::optional<QByteArray>("ok"));
        QVERIFY(client->line().value_or("").contains("\"level\":100"));
        QVERIFY(client->line().value_or("").startsWith("error usage"));
        QVERIFY(client->line().value_or("").startsWith("ok {\"channels\""));
    }

    // Every whole line before the bad one is answered, in order, then the client is told why and
    // closed; what it asked for before took effect and it knows so.
    void clientsSendingNoTextAreEnded_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QByteArray>("error");
        const QByteArray tooLong("error usage a line is longer than 4096 bytes");
        QTest::newRow("1 MB line") << QByteArray(1 << 20, 'a') + '\n' << tooLong;
        QTest::newRow("1 MB without a newline") << QByteArray(1 << 20, 'a') << tooLong;
        QTest::newRow("4097 bytes") << QByteArray(4097, 'a') + '\n' << tooLong;
        QTest::newRow("NUL") << QByteArray("status\0\n", 8)
                             << QByteArray("error usage a line holds the control byte 0x00");
        QTest::newRow("byte 0xFF") << QByteArray("on 3\xff\n")
                                   << QByteArray("error usage a line is not UTF-8 text");
        QTest::newRow("escape") << QByteArray("on \x1b[3\n")
                                << QByteArray("error usage a line holds the control byte 0x1b");
        QTest::newRow("DEL") << QByteArray("on 3\x7f\n")
                             << QByteArray("error usage a line holds the control byte 0x7f");
        QTest::newRow("CR inside") << QByteArray("on 3\roff 3\n")
                                   << QByteArray("error usage a line holds the control byte 0x0d");
        QTest::newRow("half a UTF-8 character")
            << QByteArray("name 3 \xc3\n") << QByteArray("error usage a line is not UTF-8 text");
    }

    void clientsSendingNoTextAreEnded() {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, error);
        const auto other = connected();
        QVERIFY(other);
        // One write: the good lines and the bad one together.
        const std::optional<QByteArray> received =
            SentAndClosed(address(), "level 3 33.3\n\nchannel 3\n" + bytes + "on 3\n");
        QVERIFY(received);
        const QList<QByteArray> lines = received->split('\n');
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines[0], QByteArray("ok"));
        QVERIFY(lines[1].startsWith("ok {\"alarm\":0,\"channel\":3,"));
        QCOMPARE(lines[2], error);
        QCOMPARE(lines[3], QByteArray());
        QCOMPARE(simField("channel3.intensity"), QStringLiteral("333"));
        QTRY_COMPARE(server_->clientCount(), 1);
        QVERIFY(stillPolls());
        // Nothing after the bad line ran.
        QCOMPARE(simField("channel3.on"), QStringLiteral("0"));
        QCOMPARE(other->ask("level 4 20"), QByteArray("ok"));
        QCOMPARE(simField("channel4.intensity"), QStringLiteral("200"));
    }

    // Half-finished lines cannot shut every script out for good: each is closed after 30 s with
    // nothing more, while a client waiting between whole lines stays.
    void halfLinesAreClosedAfterThirtySeconds() {
        const auto watcher = connected();
        QVERIFY(watcher);
        QCOMPARE(watcher->ask("watch"), QByteArray("ok"));
        std::vector<std::unique_ptr<ScriptClient>> halfOpen;
        for (int i = 1; i < ScriptSocketServer::kMaxClients; ++i) {
            halfOpen.push_back(connected());
            QVERIFY(halfOpen.back());
            halfOpen.back()->send("sta");
        }
        QTRY_COMPARE(server_->clientCount(), ScriptSocketServer::kMaxClients);
        const auto refused = connected();
        QVERIFY(refused);
        QCOMPARE(refused->line(), std::optional<QByteArray>("error busy too many clients: 256 open"));
        QVERIFY(refused->ended());

        // More of a line, even a byte, starts the 30 s again; the rest makes it whole.
        QTest::qWait(20000);
        halfOpen[0]->send("t");
        halfOpen[1]->send("tus\n");
        QVERIFY(halfOpen[1]->line().value_or("").startsWith("ok {"));
        QTest::qWait(11000);
        for (size_t i = 2; i < halfOpen.size(); ++i) {
            QCOMPARE(halfOpen[i]->line(),
                     std::optional<QByteArray>("error usage a line was left unfinished for 30 s"));
            QVERIFY(halfOpen[i]->ended());
        }
        QCOMPARE(halfOpen[0]->socket.state(), QLocalSocket::ConnectedState);
        QCOMPARE(halfOpen[1]->socket.state(), QLocalSocket::ConnectedState);
        QTRY_COMPARE(server_->clientCount(), 3);
        QVERIFY(connected()->ask("status").startsWith("ok {"));
        QVERIFY(halfOpen[0]->ask("us").startsWith("ok {"));
        QCOMPARE(watcher->socket.state(), QLocalSocket::ConnectedState);
    }

    void aClientThatNeverReadsIsEnded() {
        const auto client = connected();
        QVERIFY(client);
        // Thousands of status answers, none of them read.
        client->send(QByteArray("status\n").repeated(4000));
        QVERIFY(client->ended(20000));
        QTRY_COMPARE(server_->clientCount(), 0);
        QVERIFY(stillPolls());
        const auto next = connected();
        QVERIFY(next);
        QVERIFY(next->ask("status").startsWith("ok {"));
    }

    void aHundredClientsAtOnce() {
        long before = 0;
        for (int round = 0; round < 8; ++round) {
            // The first round warms the heap up; from there on nothing may pile up.
            if (round == 1) {
                before = ResidentKiB();
            }
            std::vector<std::unique_ptr<ScriptClient>> clients;
            for (int i = 0; i < 100; ++i) {
                clients.push_back(connected());
                QVERIFY(clients.back());
            }
            QTRY_COMPARE(server_->clientCount(), 100);
            for (int i = 0; i < 100; ++i) {
                clients[size_t(i)]->send(QByteArray("level ") + QByteArray::number(i % 9 + 1) + ' ' +
                                         QByteArray::number(10 + i / 9) + "\nchannel " +
                                         QByteArray::number(i % 9 + 1) + '\n');
            }
            for (int i = 0; i < 100; ++i) {
                QCOMPARE(clients[size_t(i)]->line(), std::optional<QByteArray>("ok"));
                QVERIFY(clients[size_t(i)]->line().value_or("").startsWith("ok {"));
            }
            // The last client's level for each channel is the one at the unit.
            QCOMPARE(simField("channel1.intensity"), QStringLiteral("210"));
            QCOMPARE(simField("channel9.intensity"), QStringLiteral("200"));
            clients.clear();
            QTRY_COMPARE(server_->clientCount(), 0);
            QVERIFY(stillPolls());
            // Every socket of a client gone is gone too.
            QTRY_COMPARE(server_->findChildren<QLocalSocket*>().size(), 0);
        }
        QVERIFY2(ResidentKiB() - before < 4096, qPrintable(QString::number(ResidentKiB() - before)));
    }

    // Whatever a stored name or a sent word holds, every answer and event is one line that shows as
    // sent on a terminal, and a read's JSON still gives back the same text.
    void everyLineSentIsOneLine() {
        const QString stored = QStringLiteral("a\nok\x1b[2J") + QChar(0x2028) + QStringLiteral("b") +
                               QChar(0x202E) + QChar(0x85) + QStringLiteral("\x7f\t");
        dialog().settings().SetFavourite(1, FavouriteGrouping{stored, 0, 1});
        const auto client = connected();
        QVERIFY(client);
        const QByteArray answer = client->ask("favourites");
        QCOMPARE(answer, QByteArray("ok [\"a\\nok\\u001b[2J\\u2028b\\u202e\\u0085\\u007f\\t\"]"));
        QCOMPARE(QJsonDocument::fromJson(answer.mid(3)).array().first().toString(), stored);
        QCOMPARE(client->ask("load \"x\xe2\x80\xaey\xe2\x80\x8b\""),
                 QByteArray("error not-found no favourite called \"x\\u202ey\\u200b\""));
        // An event writes a name from anywhere the same way.
        QCOMPARE(ScriptProtocol::ChannelEvent(3, true, 500, QStringLiteral("a\nok \"\x1b"),
                                              QStringLiteral("unit")),
                 QByteArray("event channel 3 on=1 level=500 name=\"a\\u000aok \\\"\\u001b\" by=unit"));
    }

    void watchersHearEveryChangeWithWhoMadeIt() {
        const auto watcher = connected();
        const auto other = connected();
        QVERIFY(watcher && other);
        QCOMPARE(watcher->ask("watch"), QByteArray("ok"));
        const QByteArray name3 = simField("channel3.name").toUtf8();
        const QByteArray name5 = simField("channel5.name").toUtf8();
        const QByteArray name6 = simField("channel6.name").toUtf8();

        QCOMPARE(other->ask("level 3 20"), QByteArray("ok"));
        QCOMPARE(watcher->line(), "event channel 3 on=0 level=200 name=\"" + name3 + "\" by=script");
        click(QPoint(mainlayout::PanelLeft(4) + 40, 170));  // LED 5 one step up
        readBack();
        QCOMPARE(watcher->line(), "event channel 5 on=0 level=505 name=\"" + name5 + "\" by=panel");
        simOk("knob 6 123");
        readBack();
        QCOMPARE(watcher->line(), "event channel 6 on=0 level=123 name=\"" + name6 + "\" by=unit");
        simOk("channel-status 6 set current");
        readBack();
        QCOMPARE(watcher->line(), QByteArray("event alarm 6 raised bits=0x0010"));
        QCOMPARE(watcher->line(), QByteArray("event alarm 0 raised bits=0x0001"));
        QCOMPARE(other->ask("name 3 \"a \\\"b\\\"\""), QByteArray("ok"));
        QCOMPARE(watcher->line(),
                 QByteArray("event channel 3 on=0 level=200 name=\"a \\\"b\\\"\" by=script"));
        // The watcher is still a client like any other.
        QVERIFY(watcher->ask("channel 3").startsWith("ok {"));
    }
};

QTEST_MAIN(ScriptSocketTest)
#include "tst_scriptsocket.moc"
