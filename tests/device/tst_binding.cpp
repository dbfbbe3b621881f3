#include "DeviceApi.h"
#include "LibraryBinding.h"
#include "LibraryLoader.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtTest>

namespace {

QString testLibrary(const QString& variant) {
    return QDir(QStringLiteral(RZ470_TEST_LIBS_DIR)).filePath(variant + QStringLiteral("/libRZ470.so"));
}

}  // namespace

class BindingTest : public QObject {
    Q_OBJECT

private slots:
    void refusesBrokenLibraries_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("expectedText");

        QTest::newRow("no file") << QString() << binding::kNoVersionInfo;
        QTest::newRow("no version note") << "no-note" << binding::kNoVersionInfo;
        QTest::newRow("text file") << "text" << binding::kNoVersionInfo;
        QTest::newRow("version 0.9") << "version-0.9" << binding::kIncompatibleVersion;
        QTest::newRow("SetTTLTimeout missing") << "no-set-ttl-timeout" << binding::kMissingFunctions;
        QTest::newRow("not a library (193)") << "not-a-library"
                                             << "DLL Module not Loaded! Error Code: 193";
        QTest::newRow("dependency missing (126)") << "missing-dependency" << binding::kModuleNotFound;
    }

    void refusesBrokenLibraries() {
        QFETCH(QString, variant);
        QFETCH(QString, expectedText);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("libRZ470.so"));
        if (variant == QLatin1String("text")) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a library\n");
        } else if (!variant.isEmpty()) {
            QVERIFY2(QFile::copy(testLibrary(variant), target), qPrintable(testLibrary(variant)));
        }

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(expectedText));
        // A refused library must not look bound to the close handler.
        QVERIFY(!api.isBound());
        QVERIFY(api.SaveUserSettings == nullptr);
    }

    void bindsEveryEntryPointOfACompleteLibrary() {
        QTemporaryDir dir;
        QVERIFY(QFile::copy(testLibrary(QStringLiteral("complete")),
                            dir.filePath(QStringLiteral("libRZ470.so"))));

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::nullopt);
        QVERIFY(api.module != nullptr);
        QVERIFY(api.isBound());
#define CHECK_BOUND(name, ret, params) QVERIFY2(api.name != nullptr, #name);
        RZ470_ENTRY_POINTS(CHECK_BOUND)
#undef CHECK_BOUND
        // The stub fails every call: the pointers lead into the loaded file.
        QCOMPARE(api.DeviceActive(0), 0);
    }

    void readsTheVersionNote() {
        const QByteArray info = LibraryLoader::readFixedFileInfo(testLibrary(QStringLiteral("version-0.9")));
        QCOMPARE(info.size(), 52);
        rz470::FixedFileInfo fixed;
        memcpy(&fixed, info.constData(), sizeof fixed);
        QCOMPARE(fixed.signature, rz470::kFixedFileInfoSignature);
        QCOMPARE(fixed.fileVersionMS, (0u << 16) | 9u);
    }

    void searchesFoldersInOrderButNeverTheCurrentOne() {
        QTemporaryDir first;
        QTemporaryDir second;
        QTemporaryDir current;
        for (const QTemporaryDir* dir : {&second, &current}) {
            QFile file(dir->filePath(QStringLiteral("libRZ470.so")));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        const QString previous = QDir::currentPath();
        QVERIFY(QDir::setCurrent(current.path()));
        // A failed check returns early; the suites after this one still need their own folder.
        const auto restoreCurrent = qScopeGuard([&previous] { QDir::setCurrent(previous); });

        QCOMPARE(LibraryLoader::locate(QStringLiteral("libRZ470.so"), {first.path(), second.path()}),
                 second.filePath(QStringLiteral("libRZ470.so")));
        QCOMPARE(LibraryLoader::locate(QStringLiteral("libRZ470.so"),
                                       {QStringLiteral("."), QString(), first.path()}),
                 QString());
    }

    void defaultSearchStartsBesideTheExecutable() {
        const bool hadPath = qEnvironmentVariableIsSet("LD_LIBRARY_PATH");
        const QByteArray previousPath = qgetenv("LD_LIBRARY_PATH");
        const auto restorePath = qScopeGuard([&] {
            if (hadPath) {
                qputenv("LD_LIBRARY_PATH", previousPath);
            } else {
                qunsetenv("LD_LIBRARY_PATH");
            }
        });
        qputenv("LD_LIBRARY_PATH", QByteArray("::/opt/rz470/lib:.:"));
        const QStringList dirs = LibraryLoader::defaultSearchDirs();
        QCOMPARE(dirs.first(), QCoreApplication::applicationDirPath());
        QCOMPARE(dirs.at(1), QStringLiteral("/opt/rz470/lib"));
        for (const QString& dir : dirs) {
            QVERIFY2(QDir::isAbsolutePath(dir), qPrintable(dir));
        }
    }
};

QTEST_GUILESS_MAIN(BindingTest)
#include "tst_binding.moc"
