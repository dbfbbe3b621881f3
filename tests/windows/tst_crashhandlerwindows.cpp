// The crash handler on Windows: whatever fails, the process writes its minidump into the current
// folder and ends with code 1.
#include "TestPaths.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

class CrashHandlerWindowsTest : public QObject {
    Q_OBJECT

private slots:
    void writesAMinidumpAndEndsWithOne_data() {
        QTest::addColumn<QString>("how");
        QTest::newRow("access violation") << QStringLiteral("access-violation");
        QTest::newRow("abort") << QStringLiteral("abort");
        QTest::newRow("pure call") << QStringLiteral("pure-call");
        QTest::newRow("unhandled exception") << QStringLiteral("exception");
    }

    void writesAMinidumpAndEndsWithOne() {
        QFETCH(QString, how);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess child;
        child.setWorkingDirectory(folder.path());
        child.start(testpaths::inBinDir(QStringLiteral("crash-child-windows.exe")), {how});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 1);

        QFile dump(folder.filePath(QStringLiteral("crashdump.dmp")));
        QVERIFY2(dump.open(QIODevice::ReadOnly), "no crashdump.dmp in the current folder");
        QCOMPARE(dump.read(4), QByteArray("MDMP"));
    }

    void aProgramThatDoesNotFailLeavesNoDump() {
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QProcess child;
        child.setWorkingDirectory(folder.path());
        child.start(testpaths::inBinDir(QStringLiteral("crash-child-windows.exe")), {QStringLiteral("none")});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        QVERIFY(!QFile::exists(folder.filePath(QStringLiteral("crashdump.dmp"))));
    }
};

QTEST_GUILESS_MAIN(CrashHandlerWindowsTest)
#include "tst_crashhandlerwindows.moc"
