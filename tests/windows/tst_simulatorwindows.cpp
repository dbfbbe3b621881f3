// The simulated unit on Windows: its folder under %LOCALAPPDATA%, the saved state there, and
// rz470-sim.exe steering the library through the control spool while the library is polled.
#include "RZ470Api.h"
#include "RZ470Sim.h"
#include "TestPaths.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <windows.h>

class SimulatorWindowsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir localData_;
    HMODULE library_ = nullptr;
    RZ470Sim_Command_t command_ = nullptr;

    QString simHome() const { return QDir(localData_.path()).filePath(QStringLiteral("rz470-sim")); }

    template <typename T>
    T entry(const char* name) {
        return reinterpret_cast<T>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
    }

    // Runs rz470-sim.exe with args while the library is polled as a panel polls it.
    QProcess* startTool(const QStringList& args, const QProcessEnvironment& environment) {
        auto* tool = new QProcess(this);
        tool->setProcessEnvironment(environment);
        tool->start(testpaths::inBinDir(QStringLiteral("rz470-sim.exe")), args);
        return tool;
    }

    void pollUntilFinished(QProcess* tool) {
        const auto updateData = entry<RZ470_UpdateData_t>("UpdateData");
        QElapsedTimer timer;
        timer.start();
        while (!tool->waitForFinished(20) && timer.elapsed() < 30000) {
            updateData();
        }
    }

private slots:
    void initTestCase() {
        QVERIFY(localData_.isValid());
        // The library reads its folder when it is loaded.
        qunsetenv("RZ470_SIM_HOME");
        qputenv("LOCALAPPDATA", QDir::toNativeSeparators(localData_.path()).toLocal8Bit());
        library_ = LoadLibraryW(reinterpret_cast<LPCWSTR>(
            QDir::toNativeSeparators(testpaths::inBinDir(QStringLiteral("RZ470.dll"))).utf16()));
        QVERIFY(library_ != nullptr);
        command_ = entry<RZ470Sim_Command_t>("RZ470Sim_Command");
        QVERIFY(command_ != nullptr);
    }

    void keepsItsFilesUnderLocalAppData() {
        QVERIFY(QFileInfo(QDir(simHome()).filePath(QStringLiteral("spool"))).isDir());
        QVERIFY(entry<RZ470_SaveUserSettings_t>("SaveUserSettings")(0) != 0);
        QVERIFY(QFile::exists(QDir(simHome()).filePath(QStringLiteral("unit-42.state"))));
    }

    void theToolSteersTheLoadedLibrary() {
        QProcess* tool = startTool({QStringLiteral("led"), QStringLiteral("3"), QStringLiteral("on")},
                                   QProcessEnvironment::systemEnvironment());
        pollUntilFinished(tool);
        QCOMPARE(tool->exitCode(), 0);
        QCOMPARE(tool->readAllStandardOutput().trimmed(), QByteArray("ok"));
        QVERIFY(QByteArray(command_("status")).contains("unit0.channel3.on=1"));

        tool = startTool({QStringLiteral("status")}, QProcessEnvironment::systemEnvironment());
        pollUntilFinished(tool);
        QCOMPARE(tool->exitCode(), 0);
        QVERIFY(tool->readAllStandardOutput().contains("unit0.channel3.on=1"));

        tool = startTool({QStringLiteral("knob"), QStringLiteral("3"), QStringLiteral("2000")},
                         QProcessEnvironment::systemEnvironment());
        pollUntilFinished(tool);
        QCOMPARE(tool->exitCode(), 1);
        QVERIFY(tool->readAllStandardError().startsWith("error:"));
    }

    void theToolSaysWhenNobodyAnswersOrTheFolderIsUnknown() {
        QTemporaryDir elsewhere;
        QVERIFY(elsewhere.isValid());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LOCALAPPDATA"), QDir::toNativeSeparators(elsewhere.path()));
        QProcess* tool = startTool({QStringLiteral("--timeout-ms"), QStringLiteral("200"), QStringLiteral("status")},
                                   environment);
        QVERIFY(tool->waitForFinished(30000));
        QCOMPARE(tool->exitCode(), 2);

        environment.remove(QStringLiteral("LOCALAPPDATA"));
        tool = startTool({QStringLiteral("status")}, environment);
        QVERIFY(tool->waitForFinished(30000));
        QCOMPARE(tool->exitCode(), 4);
        QVERIFY(tool->readAllStandardError().contains("LOCALAPPDATA"));
    }
};

QTEST_GUILESS_MAIN(SimulatorWindowsTest)
#include "tst_simulatorwindows.moc"
