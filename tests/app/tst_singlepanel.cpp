// One panel per user: the lock in the private runtime folder, and a second start of the real
// executable, which brings the running panel forward and ends.
#include "PanelInstanceLock.h"
#include "RaiseRequests.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

namespace {

const QString kFolderName = QString::fromLatin1(PanelInstanceLock::kFolderName);
const QString kLockName = QString::fromLatin1(PanelInstanceLock::kLockName);

QString LockPath(const QTemporaryDir& runtime) {
    return QDir(runtime.filePath(kFolderName)).filePath(kLockName);
}

// What QLockFile writes into its file, as written for this process.
QByteArray LockContents(const QString& scratch) {
    QLockFile model(QDir(scratch).filePath(QStringLiteral("model.lock")));
    if (!model.tryLock(0)) {
        return {};
    }
    QFile file(QDir(scratch).filePath(QStringLiteral("model.lock")));
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

// A PID no process has: above the kernel's limit.
constexpr qint64 kDeadPid = 2147483000;

}  // namespace

class SinglePanelTest : public QObject {
    Q_OBJECT

private:
    // The real executable in an environment of its own: runtime folder, settings, simulated unit.
    struct Sandbox {
        QTemporaryDir root;
        QString runtime() const { return root.filePath(QStringLiteral("runtime")); }
        QString raiseSocket() const {
            return QDir(QDir(runtime()).filePath(kFolderName))
                .filePath(QString::fromLatin1(RaiseRequests::kSocketName));
        }

        Sandbox() {
            for (const char* sub : {"runtime", "config", "home", "sim"}) {
                QDir(root.path()).mkdir(QString::fromLatin1(sub));
            }
            QFile::setPermissions(runtime(),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }

        void prepare(QProcess& panel) const {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), runtime());
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), root.filePath(QStringLiteral("config")));
            environment.insert(QStringLiteral("HOME"), root.filePath(QStringLiteral("home")));
            environment.insert(QStringLiteral("RZ470_SIM_HOME"), root.filePath(QStringLiteral("sim")));
            panel.setProcessEnvironment(environment);
            panel.setProgram(testpaths::inBinDir(QStringLiteral("rz470-control-panel")));
            panel.setProcessChannelMode(QProcess::SeparateChannels);
        }

        // Starts a panel and waits until it listens for a second start.
        void startRunning(QProcess& panel) const {
            QFile::remove(raiseSocket());
            prepare(panel);
            panel.start();
            QVERIFY2(panel.waitForStarted(10000), qPrintable(panel.errorString()));
            QDeadlineTimer deadline(20000);
            while (!QFileInfo::exists(raiseSocket())) {
                QVERIFY2(panel.state() == QProcess::Running, panel.readAllStandardError().constData());
                QVERIFY2(!deadline.hasExpired(), "the panel never listened for a second start");
                QTest::qWait(50);
            }
        }
    };

    static void stop(QProcess& panel) {
        panel.kill();
        panel.waitForFinished(10000);
    }

private slots:
    void aSecondAcquireFailsUntilTheFirstIsGone() {
        QTemporaryDir runtime;
        auto first = std::make_unique<PanelInstanceLock>(runtime.path());
        QCOMPARE(first->Acquire(), PanelInstanceLock::Outcome::Acquired);
        QVERIFY(first->isHeld());
        QCOMPARE(first->folder(), runtime.filePath(kFolderName));
        struct stat made {};
        QCOMPARE(::stat(QFile::encodeName(first->folder()).constData(), &made), 0);
        QCOMPARE(made.st_mode & 07777, mode_t(0700));

        PanelInstanceLock second(runtime.path());
        QCOMPARE(second.Acquire(), PanelInstanceLock::Outcome::HeldByAnother);
        QVERIFY(!second.isHeld());
        first.reset();
        QCOMPARE(second.Acquire(), PanelInstanceLock::Outcome::Acquired);
    }

    void aLeftLockIsJudgedByItsWriter_data() {
        QTest::addColumn<bool>("writerRuns");
        QTest::addColumn<int>("ageSeconds");
        QTest::addColumn<bool>("takenOver");
        QTest::newRow("writer crashed a moment ago") << false << 0 << true;
        QTest::newRow("writer crashed long ago") << false << 3600 << true;
        // A panel left running over lunch still holds its lock, however old the file.
        QTest::newRow("writer runs, lock an hour old") << true << 3600 << false;
    }

    void aLeftLockIsJudgedByItsWriter() {
        QFETCH(bool, writerRuns);
        QFETCH(int, ageSeconds);
        QFETCH(bool, takenOver);
        QTemporaryDir runtime;
        QVERIFY(QDir(runtime.path()).mkdir(kFolderName));
        QFile::setPermissions(runtime.filePath(kFolderName),
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

        // Written as QLockFile writes it, but by nobody holding it now.
        QByteArray contents = LockContents(runtime.path());
        QVERIFY(!contents.isEmpty());
        if (!writerRuns) {
            contents.replace(0, contents.indexOf('\n'), QByteArray::number(kDeadPid));
        }
        QFile left(LockPath(runtime));
        QVERIFY(left.open(QIODevice::WriteOnly));
        left.write(contents);
        left.close();
        QVERIFY(left.open(QIODevice::ReadWrite));
        const QDateTime then = QDateTime::currentDateTimeUtc().addSecs(-ageSeconds);
        QVERIFY(left.setFileTime(then, QFileDevice::FileModificationTime));
        left.close();

        PanelInstanceLock lock(runtime.path());
        QCOMPARE(lock.Acquire(), takenOver ? PanelInstanceLock::Outcome::Acquired
                                           : PanelInstanceLock::Outcome::HeldByAnother);
    }

    void aFolderNotTheUsersAloneIsRefused_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("mode 0755") << "0755";
        QTest::newRow("mode 0777") << "0777";
        QTest::newRow("mode 0701") << "0701";
        QTest::newRow("a link to a private folder") << "link";
        QTest::newRow("a file in its place") << "file";
    }

    void aFolderNotTheUsersAloneIsRefused() {
        QFETCH(QString, kind);
        QTemporaryDir runtime;
        const QString path = runtime.filePath(kFolderName);
        if (kind == QLatin1String("link")) {
            const QString target = runtime.filePath(QStringLiteral("elsewhere"));
            QVERIFY(QDir().mkdir(target));
            QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0700), 0);
            QVERIFY(QFile::link(target, path));
        } else if (kind == QLatin1String("file")) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
        } else {
            QVERIFY(QDir().mkdir(path));
            QCOMPARE(::chmod(QFile::encodeName(path).constData(), kind.toUInt(nullptr, 8)), 0);
        }

        PanelInstanceLock lock(runtime.path());
        QCOMPARE(lock.Acquire(), PanelInstanceLock::Outcome::FolderRefused);
        QVERIFY(!lock.isHeld());
        QVERIFY(lock.folder().isEmpty());
        QVERIFY2(lock.failure().contains(path), qPrintable(lock.failure()));
        QVERIFY(!QFileInfo::exists(QDir(path).filePath(kLockName)));
    }

    void aRaiseRequestIsAnswered() {
        QTemporaryDir folder;
        RaiseRequests requests;
        QVERIFY(requests.Listen(folder.path()));
        QSignalSpy raised(&requests, &RaiseRequests::RaiseRequested);
        bool answered = false;
        // The asking side blocks; the listening side answers from the event loop.
        QTimer::singleShot(0, [&] { answered = RaiseRequests::AskToRaise(folder.path(), 3000); });
        QTRY_VERIFY(answered || raised.count() > 0);
        QTRY_COMPARE(raised.count(), 1);
    }

    // A second start asks the running panel to come forward and ends at once with one line; a
    // panel killed outright leaves a lock that does not keep the next one from starting.
    void aSecondStartEndsAndAKilledPanelBlocksNothing() {
        Sandbox sandbox;
        QVERIFY(sandbox.root.isValid());
        QProcess first;
        sandbox.startRunning(first);
        if (QTest::currentTestFailed()) {
            stop(first);
            return;
        }

        QProcess second;
        sandbox.prepare(second);
        second.start();
        const bool ended = second.waitForFinished(20000);
        const QString errors = QString::fromLocal8Bit(second.readAllStandardError());
        QVERIFY2(ended, "the second start did not end");
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(errors.endsWith(QLatin1Char('\n')) && errors.count(QLatin1Char('\n')) == 1,
                 qPrintable(errors));
        QVERIFY2(errors.contains(QLatin1String("already running")), qPrintable(errors));
        QVERIFY2(errors.contains(QLatin1String("brought to the front")), qPrintable(errors));
        QCOMPARE(first.state(), QProcess::Running);

        stop(first);
        QVERIFY(QFileInfo::exists(QDir(QDir(sandbox.runtime()).filePath(kFolderName)).filePath(kLockName)));
        QProcess third;
        sandbox.startRunning(third);
        QCOMPARE(third.state(), QProcess::Running);
        stop(third);
    }
};

QTEST_MAIN(SinglePanelTest)
#include "tst_singlepanel.moc"
