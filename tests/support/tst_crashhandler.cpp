#include "SanitizerBuild.h"
#include "TestPaths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

namespace {

constexpr int kUnsupported = 77;
const QString kDumpName = QStringLiteral("crashdump.dmp");

struct ChildRun {
    QProcess::ExitStatus status = QProcess::CrashExit;
    int exitCode = -1;
    qint64 pid = 0;
};

// Runs crash-child in folder; with signalToSend it waits for the child to be ready, then
// sends the signal from this process.
void RunChild(const QString& kind, const QString& folder, int signalToSend, ChildRun* run) {
    QProcess child;
    child.setWorkingDirectory(folder);
    child.setProgram(testpaths::inBinDir(QStringLiteral("crash-child")));
    child.setArguments({kind});
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start();
    QVERIFY2(child.waitForStarted(10000), qPrintable(child.errorString()));
    run->pid = child.processId();
    if (signalToSend != 0) {
        while (!child.readAllStandardOutput().contains("ready")) {
            QVERIFY2(child.waitForReadyRead(10000), "the child never said it was ready");
        }
        QCOMPARE(::kill(static_cast<pid_t>(run->pid), signalToSend), 0);
    }
    QVERIFY2(child.waitForFinished(30000), "the child did not end");
    run->status = child.exitStatus();
    run->exitCode = child.exitCode();
}

// The dump split into its header fields and its "--- " sections, in file order.
struct CrashDump {
    QString firstLine;
    QHash<QString, QString> fields;
    QStringList sectionNames;
    QHash<QString, QString> sectionArguments;
    QHash<QString, QStringList> sections;
    int dumpsInFile = 0;

    static CrashDump Read(const QString& path) {
        CrashDump dump;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return dump;
        }
        const QStringList lines = QString::fromLatin1(file.readAll()).split(QLatin1Char('\n'));
        QString section;
        for (int i = 0; i < lines.size(); ++i) {
            const QString& line = lines.at(i);
            if (line.startsWith(QLatin1String("RZ470 crash dump"))) {
                ++dump.dumpsInFile;
            }
            if (i == 0) {
                dump.firstLine = line;
            } else if (line.startsWith(QLatin1String("--- "))) {
                const QString header = line.mid(4);
                const int argumentsAt = header.indexOf(QLatin1String(" 0x"));
                section = argumentsAt < 0 ? header : header.left(argumentsAt);
                dump.sectionNames << section;
                dump.sectionArguments[section] = argumentsAt < 0 ? QString() : header.mid(argumentsAt + 1);
                dump.sections[section];
            } else if (section.isEmpty()) {
                const int space = line.indexOf(QLatin1Char(' '));
                if (space > 0) {
                    dump.fields[line.left(space)] = line.mid(space + 1);
                }
            } else if (!line.isEmpty()) {
                dump.sections[section] << line;
            }
        }
        return dump;
    }

    // "name 0x..." lines of the registers section as numbers.
    quint64 Register(const QString& name) const {
        for (const QString& line : sections.value(QStringLiteral("registers"))) {
            if (line.startsWith(name + QLatin1Char(' '))) {
                return line.mid(name.size() + 1).toULongLong(nullptr, 16);
            }
        }
        return 0;
    }

    QByteArray StackBytes() const {
        QByteArray bytes;
        for (const QString& line : sections.value(QStringLiteral("stack"))) {
            const QStringList parts =
                line.mid(line.indexOf(QLatin1Char(':')) + 1).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            for (const QString& part : parts) {
                bytes.append(static_cast<char>(part.toUInt(nullptr, 16)));
            }
        }
        return bytes;
    }
};

#if defined(__x86_64__)
const QString kPcRegister = QStringLiteral("rip");
const QString kSpRegister = QStringLiteral("rsp");
#elif defined(__aarch64__)
const QString kPcRegister = QStringLiteral("pc");
const QString kSpRegister = QStringLiteral("sp");
#else
const QString kPcRegister;
const QString kSpRegister;
#endif

// The child's NullWrite marker as it lies on a little-endian stack.
const QByteArray kStackMarker = QByteArray::fromHex("dec0175adec0175a");

}  // namespace

class tst_CrashHandler : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void failureLeavesCompleteDump_data();
    void failureLeavesCompleteDump();
    void faultOnWorkerThreadDumpsThatThread();
    void faultWhileDumpingStillExitsOne();
    void secondCrashReplacesFirstDump();
    void linkAtDumpPathIsNotFollowed();
    void uncreatableDumpStillExitsOne_data();
    void uncreatableDumpStillExitsOne();
    void noFailureLeavesNoDump();

private:
    static bool SkipUnderAddressSanitizer(const QString& kind);
};

void tst_CrashHandler::initTestCase() {
    QVERIFY2(QFileInfo(testpaths::inBinDir(QStringLiteral("crash-child"))).isExecutable(),
             "crash-child is not built");
}

// The sanitizer's allocator reports an impossible allocation itself and never calls the new
// handler, so that failure cannot reach our code in such a build.
bool tst_CrashHandler::SkipUnderAddressSanitizer(const QString& kind) {
#if defined(RZ470_ADDRESS_SANITIZER)
    return kind == QLatin1String("bad-alloc");
#else
    Q_UNUSED(kind);
    return false;
#endif
}

void tst_CrashHandler::failureLeavesCompleteDump_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<int>("signalToSend");
    QTest::addColumn<QString>("failure");  // %CHILD% and %TEST% stand for the two pids
    QTest::addColumn<bool>("stackHoldsMarker");
    QTest::addColumn<QString>("exceptionMessage");

    const QString address = QStringLiteral("address 0x[0-9a-f]{16}");
    QTest::newRow("null pointer write")
        << "null-write" << 0 << "^signal 11 SIGSEGV code 1 SEGV_MAPERR address 0x0{16}$" << true << QString();
    QTest::newRow("stack overflow") << "stack-overflow" << 0
                                    << "^signal 11 SIGSEGV code \\d+ SEGV_(MAPERR|ACCERR) " + address + "$"
                                    << false << QString();
    QTest::newRow("bus error") << "bus-error" << 0 << "^signal \\d+ SIGBUS code 2 BUS_ADRERR " + address + "$"
                               << false << QString();
    QTest::newRow("illegal instruction")
        << "illegal-instruction" << 0 << "^signal 4 SIGILL code \\d+ ILL_[A-Z]+ " + address + "$" << false
        << QString();
    QTest::newRow("integer division by zero")
        << "divide-by-zero" << 0 << "^signal 8 SIGFPE code 1 FPE_INTDIV " + address + "$" << false
        << QString();
    QTest::newRow("abort") << "abort" << 0 << "^signal 6 SIGABRT code -6 SI_TKILL sender %CHILD%$" << false
                           << QString();
    QTest::newRow("fortified strcpy into a small buffer")
        << "fortify" << 0 << "^signal 6 SIGABRT code -6 SI_TKILL sender %CHILD%$" << false << QString();
    QTest::newRow("pure virtual call")
        << "pure-virtual" << 0 << "^terminate no-active-exception " + address + "$" << false << QString();
    QTest::newRow("uncaught exception")
        << "uncaught-exception" << 0 << "^terminate exception St13runtime_error " + address + "$" << false
        << "boom: the panel gave up";
    QTest::newRow("heap exhausted") << "bad-alloc" << 0 << "^new-handler " + address + "$" << false
                                    << QString();
    QTest::newRow("SIGTERM from outside")
        << "wait" << int(SIGTERM) << "^signal 15 SIGTERM code 0 SI_USER sender %TEST%$" << false << QString();
    QTest::newRow("SIGINT from outside")
        << "wait" << int(SIGINT) << "^signal 2 SIGINT code 0 SI_USER sender %TEST%$" << false << QString();
}

void tst_CrashHandler::failureLeavesCompleteDump() {
    QFETCH(QString, kind);
    QFETCH(int, signalToSend);
    QFETCH(QString, failure);
    QFETCH(bool, stackHoldsMarker);
    QFETCH(QString, exceptionMessage);
    if (SkipUnderAddressSanitizer(kind)) {
        QSKIP("AddressSanitizer's allocator never calls the new handler");
    }

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChildRun run;
    RunChild(kind, folder.path(), signalToSend, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    if (run.status == QProcess::NormalExit && run.exitCode == kUnsupported) {
        QSKIP("this toolchain or machine cannot produce that failure");
    }
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);

    const CrashDump dump = CrashDump::Read(QDir(folder.path()).filePath(kDumpName));
    QCOMPARE(dump.firstLine, QStringLiteral("RZ470 crash dump 1"));
    QCOMPARE(dump.fields.value(QStringLiteral("pid")), QString::number(run.pid));
    QCOMPARE(dump.fields.value(QStringLiteral("thread")), QString::number(run.pid));
    QVERIFY(dump.fields.value(QStringLiteral("executable")).endsWith(QLatin1String("/crash-child")));
    failure.replace(QLatin1String("%CHILD%"), QString::number(run.pid));
    failure.replace(QLatin1String("%TEST%"), QString::number(QCoreApplication::applicationPid()));
    const QString failureLine = dump.fields.value(QStringLiteral("failure"));
    QVERIFY2(QRegularExpression(failure).match(failureLine).hasMatch(), qPrintable(failureLine));

    QStringList expectedSections = {QStringLiteral("registers"), QStringLiteral("memory map"),
                                    QStringLiteral("stack"), QStringLiteral("backtrace")};
    if (!exceptionMessage.isEmpty()) {
        expectedSections << QStringLiteral("exception");
    }
    expectedSections << QStringLiteral("end");
    QCOMPARE(dump.sectionNames, expectedSections);
    if (!exceptionMessage.isEmpty()) {
        QCOMPARE(dump.sections.value(QStringLiteral("exception")), QStringList{exceptionMessage});
    }

    const QStringList maps = dump.sections.value(QStringLiteral("memory map"));
    QVERIFY(!maps.filter(QLatin1String("/crash-child")).isEmpty());

    // The window starts where its header says and holds as many bytes as it claims.
    const QStringList range = dump.sectionArguments.value(QStringLiteral("stack")).split(QLatin1Char(' '));
    QCOMPARE(range.size(), 2);
    const quint64 stackFirst = range.at(0).toULongLong(nullptr, 16);
    const quint64 stackEnd = range.at(1).toULongLong(nullptr, 16);
    QVERIFY(stackFirst < stackEnd);
    const QByteArray stack = dump.StackBytes();
    QCOMPARE(quint64(stack.size()), stackEnd - stackFirst);
    QCOMPARE(dump.sections.value(QStringLiteral("stack"))
                 .first()
                 .section(QLatin1Char(':'), 0, 0)
                 .toULongLong(nullptr, 16),
             stackFirst);
    if (stackHoldsMarker) {
        QVERIFY2(stack.contains(kStackMarker), "the faulting frame is not in the stack window");
    }

    const QStringList frames = dump.sections.value(QStringLiteral("backtrace"));
    QVERIFY(!frames.isEmpty());
    if (kPcRegister.isEmpty()) {
        return;
    }
    const quint64 pc = dump.Register(kPcRegister);
    const quint64 sp = dump.Register(kSpRegister);
    QVERIFY(pc != 0);
    QVERIFY(sp != 0);
    const bool isSignal = failureLine.startsWith(QLatin1String("signal "));
    if (isSignal) {
        // The trace starts where the thread failed, not in the handler.
        QCOMPARE(frames.first().section(QLatin1Char(' '), 1).toULongLong(nullptr, 16), pc);
    }
}

void tst_CrashHandler::faultOnWorkerThreadDumpsThatThread() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChildRun run;
    RunChild(QStringLiteral("worker-null-write"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    const CrashDump dump = CrashDump::Read(QDir(folder.path()).filePath(kDumpName));
    QVERIFY(dump.fields.value(QStringLiteral("failure")).startsWith(QLatin1String("signal 11 SIGSEGV")));
    const QString thread = dump.fields.value(QStringLiteral("thread"));
    QVERIFY(!thread.isEmpty());
    QVERIFY(thread != QString::number(run.pid));
    QVERIFY2(dump.StackBytes().contains(kStackMarker), "the worker's frame is not in the stack window");
}

// The dump keeps what was written before the fault, lacks its end mark, and the exit code stays 1
// rather than the process dying by the second signal.
void tst_CrashHandler::faultWhileDumpingStillExitsOne() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChildRun run;
    RunChild(QStringLiteral("fault-while-dumping"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    const CrashDump dump = CrashDump::Read(QDir(folder.path()).filePath(kDumpName));
    const QString failureLine = dump.fields.value(QStringLiteral("failure"));
    QVERIFY2(failureLine.contains(QLatin1String("FaultyException")), qPrintable(failureLine));
    QCOMPARE(dump.sectionNames,
             (QStringList{QStringLiteral("registers"), QStringLiteral("memory map"), QStringLiteral("stack"),
                          QStringLiteral("backtrace"), QStringLiteral("exception")}));
    QVERIFY(!dump.sections.value(QStringLiteral("backtrace")).isEmpty());
}

void tst_CrashHandler::secondCrashReplacesFirstDump() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString dumpPath = QDir(folder.path()).filePath(kDumpName);
    ChildRun run;
    RunChild(QStringLiteral("null-write"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QVERIFY(
        CrashDump::Read(dumpPath).fields.value(QStringLiteral("failure")).contains(QLatin1String("SIGSEGV")));

    RunChild(QStringLiteral("abort"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.exitCode, 1);
    const CrashDump dump = CrashDump::Read(dumpPath);
    QCOMPARE(dump.dumpsInFile, 1);
    QVERIFY(dump.fields.value(QStringLiteral("failure")).contains(QLatin1String("SIGABRT")));
    QCOMPARE(dump.fields.value(QStringLiteral("pid")), QString::number(run.pid));
    QCOMPARE(dump.sectionNames.count(QStringLiteral("end")), 1);
}

// A link under the dump's name must not turn a crash into a write through to another file.
void tst_CrashHandler::linkAtDumpPathIsNotFollowed() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QDir dir(folder.path());
    const QString otherPath = dir.filePath(QStringLiteral("precious.txt"));
    {
        QFile other(otherPath);
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("keep me\n");
    }
    QVERIFY(QFile::link(otherPath, dir.filePath(kDumpName)));

    ChildRun run;
    RunChild(QStringLiteral("abort"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.exitCode, 1);
    QFile other(otherPath);
    QVERIFY(other.open(QIODevice::ReadOnly));
    QCOMPARE(other.readAll(), QByteArray("keep me\n"));
    const QFileInfo dumpInfo(dir.filePath(kDumpName));
    QVERIFY(!dumpInfo.isSymLink());
    QVERIFY(CrashDump::Read(dumpInfo.filePath())
                .fields.value(QStringLiteral("failure"))
                .contains(QLatin1String("SIGABRT")));
}

void tst_CrashHandler::uncreatableDumpStillExitsOne_data() {
    QTest::addColumn<QString>("kind");
    QTest::newRow("signal") << "null-write";
    QTest::newRow("terminate") << "pure-virtual";
    QTest::newRow("new handler") << "bad-alloc";
}

// Tests run as root, who may write into a read-only folder; a folder under the dump's name
// stops even root from creating the file.
void tst_CrashHandler::uncreatableDumpStillExitsOne() {
    QFETCH(QString, kind);
    if (SkipUnderAddressSanitizer(kind)) {
        QSKIP("AddressSanitizer's allocator never calls the new handler");
    }
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    QDir dir(folder.path());
    QVERIFY(dir.mkdir(kDumpName));

    ChildRun run;
    RunChild(kind, folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 1);
    QVERIFY(QFileInfo(dir.filePath(kDumpName)).isDir());
    QCOMPARE(dir.entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList{kDumpName});
    QVERIFY(QDir(dir.filePath(kDumpName)).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
}

void tst_CrashHandler::noFailureLeavesNoDump() {
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    ChildRun run;
    RunChild(QStringLiteral("none"), folder.path(), 0, &run);
    if (QTest::currentTestFailed()) {
        return;
    }
    QCOMPARE(run.status, QProcess::NormalExit);
    QCOMPARE(run.exitCode, 0);
    QVERIFY(!QFileInfo::exists(QDir(folder.path()).filePath(kDumpName)));
}

QTEST_GUILESS_MAIN(tst_CrashHandler)
#include "tst_crashhandler.moc"
