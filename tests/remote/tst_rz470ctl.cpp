// rz470-ctl as a shell runs it, against the started panel's socket: what it prints, on which
// stream, and the exit code a script tests.
#include "ScriptSocketServer.h"
#include "ScriptedPanelTest.h"
#include "TestPaths.h"

#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

class Rz470CtlTest : public ServedPanelTest {
    Q_OBJECT

private:
    struct Run {
        int exitCode = -1;
        QByteArray out;
        QByteArray err;
    };

    // The panel keeps running while the tool waits for it.
    Run ctl(const QStringList& arguments, const QStringList& socket = {}) {
        QProcess process;
        process.start(
            testpaths::inBinDir(QStringLiteral("rz470-ctl")),
            (socket.isEmpty() ? QStringList{QStringLiteral("--socket"), address()} : socket) + arguments);
        if (!process.waitForStarted()) {
            return {};
        }
        for (QDeadlineTimer deadline(15000);
             process.state() != QProcess::NotRunning && !deadline.hasExpired();) {
            QTest::qWait(5);
        }
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                process.readAllStandardOutput(), process.readAllStandardError()};
    }

private slots:
    void cleanup() { stopServing(); }

    void exitCodes_data() {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("stderrHas");
        QTest::newRow("on 3") << QStringList{} << QStringList{"on", "3"} << 0 << "channel3.on"
                              << "1" << QByteArray();
        QTest::newRow("off 3 5") << QStringList{"led 3 on", "led 5 on"} << QStringList{"off", "3", "5"} << 0
                                 << "channel5.on"
                                 << "0" << QByteArray();
        QTest::newRow("level 3 45.5")
            << QStringList{} << QStringList{"level", "3", "45.5"} << 0 << "channel3.intensity"
            << "455" << QByteArray();
        QTest::newRow("all-off") << QStringList{"led 7 on"} << QStringList{"all-off"} << 0 << "channel7.on"
                                 << "0" << QByteArray();
        QTest::newRow("sequence 2 4")
            << QStringList{} << QStringList{"sequence", "2", "4"} << 0 << "ttlSequence"
            << "0,4,0,0,0,0,0,0,0" << QByteArray();
        // Switching off is never refused: not for an alarm, not with the light guide out.
        QTest::newRow("off 3 with an alarm") << QStringList{"led 3 on", "channel-status 3 set overtemp"}
                                             << QStringList{"off", "3"} << 0 << "channel3.on"
                                             << "0" << QByteArray();
        QTest::newRow("off 3 with the light guide out")
            << QStringList{"led 3 on", "unit-status clear lightguide"} << QStringList{"off", "3"} << 0
            << "channel3.on"
            << "0" << QByteArray();
        QTest::newRow("refused: light guide out")
            << QStringList{"unit-status clear lightguide"} << QStringList{"on", "3"} << 1 << "channel3.on"
            << "0" << QByteArray("rz470-ctl: Light Guide not inserted (refused)");
        QTest::newRow("refused: no such favourite")
            << QStringList{} << QStringList{"load", "Two words"} << 1 << "groupingMode"
            << "0" << QByteArray("rz470-ctl: no favourite called \"Two words\" (not-found)");
        QTest::newRow("usage from the panel")
            << QStringList{} << QStringList{"level", "3"} << 2 << "channel3.intensity"
            << "500" << QByteArray("rz470-ctl: level N [N...] PERCENT");
        QTest::newRow("unknown word") << QStringList{} << QStringList{"dance"} << 2 << "channel3.on"
                                      << "0" << QByteArray("no command \"dance\"");
        QTest::newRow("no command") << QStringList{} << QStringList{} << 2 << "channel3.on"
                                    << "0" << QByteArray("usage: rz470-ctl");
    }

    void exitCodes() {
        QFETCH(QStringList, setup);
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QByteArray, stderrHas);
        for (const QString& command : setup) {
            simOk(command);
        }
        readBack();
        const Run run = ctl(arguments);
        readBack();
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.contains(stderrHas), run.err.constData());
        QCOMPARE(simField(field), value);
    }

    void aNameWithSpacesArrivesWhole() {
        QCOMPARE(ctl({"name", "3", "My \"dye\""}).exitCode, 0);
        const Run channel = ctl({"channel", "3"});
        QCOMPARE(channel.exitCode, 0);
        QCOMPARE(QJsonDocument::fromJson(channel.out).object().value("name").toString(),
                 QStringLiteral("My \"dye\""));
    }

    void namesThePanelCannotKeepAreRefused_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("err");
        QTest::newRow("Greek")
            << QString::fromUtf8("\xCE\xA9mega")
            << QByteArray("rz470-ctl: a name can hold only Latin-1 characters, not \"\xCE\xA9\" (U+03A9)\n");
        // A control byte never gets past the line.
        QTest::newRow("escape sequence")
            << "a\x1b[2Jb" << QByteArray("rz470-ctl: a line holds the control byte 0x1b\n");
        QTest::newRow("right-to-left override") << "ab" + QString(QChar(0x202E))
                                                << QByteArray(
                                                       "rz470-ctl: a name cannot hold control, line-break or "
                                                       "text-direction characters (U+202E)\n");
    }

    void namesThePanelCannotKeepAreRefused() {
        QFETCH(QString, name);
        QFETCH(QByteArray, err);
        const QString before =
            QJsonDocument::fromJson(ctl({"channel", "3"}).out).object().value("name").toString();
        const Run run = ctl({"name", "3", name});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, err);
        QCOMPARE(QJsonDocument::fromJson(ctl({"channel", "3"}).out).object().value("name").toString(),
                 before);
    }

    // Whatever a panel sends, names and messages in it included, each line it prints stays one line
    // and cannot steer the terminal: a control, format or separator character shows as \uXXXX.
    void whatItPrintsIsOneLineEach_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArrayList>("answers");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");

        const QByteArray status =
            "ok "
            "{\"connected\":true,\"model\":\"B\",\"serial\":\"S\\u001b]0;x\\u0007\",\"versions\":{\"unit\":"
            "\"1\"},"
            "\"channels\":[{\"channel\":3,\"fitted\":true,\"wavelength\":435,"
            "\"name\":\"a\\nok\\u001b[2J\\u2028\",\"level\":500}]}";
        QTest::newRow("status table")
            << QStringList{"status"} << QByteArrayList{status}
            << QByteArray(
                   "unit: model B, serial S\\u001b]0;x\\u0007, version 1\n"
                   "light guide out, knob free, not triggered, scripting off, demo loop stopped\n"
                   "LED 3   435 nm  a\\u000aok\\u001b[2J\\u2028   off   50.0 %\n")
            << QByteArray();
        QTest::newRow("events")
            << QStringList{"watch"}
            << QByteArrayList{"ok", "event channel 3 on=0 level=1 name=\"\x1b[2J\xe2\x80\xae\" by=unit"}
            << QByteArray("event channel 3 on=0 level=1 name=\"\\u001b[2J\\u202e\" by=unit\n")
            << QByteArray();
        QTest::newRow("error message")
            << QStringList{"on", "3"} << QByteArrayList{"error refused a\x1b[2J\xc2\x85"} << QByteArray()
            << QByteArray("rz470-ctl: a\\u001b[2J\\u0085 (refused)\n");
    }

    void whatItPrintsIsOneLineEach() {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArrayList, answers);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);

        // A panel of the test's own, that answers what the row says and goes.
        QLocalServer fake;
        const QString path = folder_.filePath(QStringLiteral("fake"));
        QVERIFY(fake.listen(path));
        connect(&fake, &QLocalServer::newConnection, &fake, [&fake, answers] {
            QLocalSocket* socket = fake.nextPendingConnection();
            connect(socket, &QLocalSocket::readyRead, socket, [socket, answers] {
                socket->write(answers.join('\n') + '\n');
                socket->disconnectFromServer();
            });
        });
        const Run run = ctl(arguments, {"--socket", path});
        QCOMPARE(run.out, out);
        QCOMPARE(run.err, err);
    }

    void statusReadableAndJson() {
        simOk("knob 3 455");
        readBack();
        const Run readable = ctl({"status"});
        QCOMPARE(readable.exitCode, 0);
        const QStringList lines = QString::fromUtf8(readable.out).split('\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 11);
        QVERIFY2(lines[0].startsWith("unit: model " + simField("identifier")), qPrintable(lines[0]));
        QVERIFY(lines[1].contains("light guide inserted"));
        QVERIFY2(lines[4].startsWith("LED 3") && lines[4].contains(" 45.5 %") &&
                     lines[4].contains(simField("channel3.name")),
                 qPrintable(lines[4]));

        const Run json = ctl({"status", "--json"});
        QCOMPARE(json.exitCode, 0);
        const QJsonObject status = QJsonDocument::fromJson(json.out).object();
        QCOMPARE(status.value("connected").toBool(), true);
        QCOMPARE(status.value("channels").toArray().at(2).toObject().value("level").toInt(), 455);
    }

    void noPanelRunning() {
        const Run run = ctl({"status"}, {"--socket", folder_.filePath(QStringLiteral("nobody"))});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("rz470-ctl: no panel is running for this user"), run.err.constData());
    }

    // The lost unit's message waits for a click inside a poll tick; scripts are answered meanwhile.
    void answersWhileTheLostUnitIsTold() {
        simOk("led 3 on");
        readBack();
        Run status;
        Run on;
        panel_->prompts.whileShown = [&](const ScriptedPrompts::Shown& shown) {
            if (shown.title.contains(QLatin1String("Not Found")) && status.exitCode < 0) {
                status = ctl({"--timeout", "10", "status"});
                on = ctl({"--timeout", "10", "on", "3"});
            }
        };
        simOk("unplug 0");
        panel_->tick();
        QCOMPARE(status.exitCode, 0);
        QCOMPARE(status.out, QByteArray("unit: not connected\n"));
        QCOMPARE(on.exitCode, 1);
        QCOMPARE(on.err, QByteArray("rz470-ctl: no unit answers (absent)\n"));
    }

    void givesUpAfterItsTimeout_data() {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QByteArray>("err");
        QTest::addColumn<int>("withinMs");
        QTest::newRow("--timeout 0.5")
            << QStringList{"--timeout", "0.5"} << 2
            << QByteArray(
                   "rz470-ctl: no answer from the panel within 0.5 s (--timeout SECONDS waits longer)\n")
            << 3000;
        QTest::newRow("the default: 5 s")
            << QStringList{} << 2
            << QByteArray("rz470-ctl: no answer from the panel within 5 s (--timeout SECONDS waits longer)\n")
            << 8000;
        const QByteArray bad("rz470-ctl: --timeout takes seconds, more than 0 and at most 3600\n");
        QTest::newRow("--timeout 0") << QStringList{"--timeout", "0"} << 2 << bad << 1000;
        QTest::newRow("--timeout -1") << QStringList{"--timeout", "-1"} << 2 << bad << 1000;
        QTest::newRow("--timeout soon") << QStringList{"--timeout", "soon"} << 2 << bad << 1000;
        QTest::newRow("--timeout nan") << QStringList{"--timeout", "nan"} << 2 << bad << 1000;
        QTest::newRow("--timeout 1e9") << QStringList{"--timeout", "1e9"} << 2 << bad << 1000;
        QTest::newRow("--timeout with no number") << QStringList{"--timeout"} << 2 << bad << 1000;
    }

    // A panel that takes the line and never answers (hung, or stopped in a debugger).
    void givesUpAfterItsTimeout() {
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QByteArray, err);
        QFETCH(int, withinMs);
        QLocalServer silent;
        const QString path = folder_.filePath(QStringLiteral("silent"));
        QVERIFY(silent.listen(path));
        QList<QLocalSocket*> taken;
        connect(&silent, &QLocalServer::newConnection, this,
                [&] { taken << silent.nextPendingConnection(); });
        QElapsedTimer took;
        took.start();
        const Run run = ctl(options + QStringList{"status"}, {"--socket", path});
        QCOMPARE(run.exitCode, exitCode);
        QVERIFY(run.out.isEmpty());
        QCOMPARE(run.err, err);
        QVERIFY2(took.elapsed() < withinMs, qPrintable(QString::number(took.elapsed())));
    }

    void watchPrintsEventsUntilThePanelGoes() {
        QProcess watch;
        watch.start(testpaths::inBinDir(QStringLiteral("rz470-ctl")), {"--socket", address(), "watch"});
        QVERIFY(watch.waitForStarted());
        QTRY_COMPARE(server_->clientCount(), 1);
        QTest::qWait(50);
        QCOMPARE(ctl({"level", "2", "12.5"}).exitCode, 0);
        QTRY_VERIFY(watch.canReadLine());
        QCOMPARE(watch.readLine(), "event channel 2 on=0 level=125 name=\"" +
                                       simField("channel2.name").toUtf8() + "\" by=script\n");
        server_.reset();
        QTRY_VERIFY(watch.state() == QProcess::NotRunning);
        QCOMPARE(watch.exitCode(), 0);
    }
};

QTEST_MAIN(Rz470CtlTest)
#include "tst_rz470ctl.moc"
