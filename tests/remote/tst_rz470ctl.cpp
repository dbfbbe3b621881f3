// rz470-ctl as a shell runs it, against the started panel's socket: what it prints, on which
// stream, and the exit code a script tests.
#include "ScriptSocketServer.h"
#include "ScriptedPanelTest.h"
#include "TestPaths.h"

#include <QJsonDocument>
#include <QJsonObject>
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
