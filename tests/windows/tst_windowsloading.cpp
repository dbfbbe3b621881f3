// How the panel finds, checks and loads the device library on Windows: from the program's own
// folder, then the system folder, never from the current folder or PATH, and only after the
// file's version resource passed.
#include "DeviceApi.h"
#include "LibraryBinding.h"
#include "LibraryLoader.h"
#include "RZ470Api.h"
#include "TestPaths.h"

#include <QDir>
#include <QFile>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

#include <windows.h>

namespace {

QString stubLibrary(const QString& variant) {
    return QDir(QStringLiteral(RZ470_WINDOWS_STUBS_DIR)).filePath(variant + QStringLiteral("/RZ470.dll"));
}

QString systemFolder() {
    wchar_t folder[MAX_PATH];
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    return QDir::fromNativeSeparators(QString::fromWCharArray(folder, static_cast<int>(length)));
}

// For its lifetime the current folder is `current` and PATH starts with `onPath`: where anybody
// could have left a library.
class PlantedPlaces {
public:
    PlantedPlaces(const QString& current, const QString& onPath)
        : previousFolder_(QDir::currentPath()), previousPath_(qgetenv("PATH")) {
        QDir::setCurrent(current);
        qputenv("PATH", QDir::toNativeSeparators(onPath).toLocal8Bit() + ';' + previousPath_);
    }
    ~PlantedPlaces() {
        QDir::setCurrent(previousFolder_);
        qputenv("PATH", previousPath_);
    }
    PlantedPlaces(const PlantedPlaces&) = delete;
    PlantedPlaces& operator=(const PlantedPlaces&) = delete;

private:
    QString previousFolder_;
    QByteArray previousPath_;
};

}  // namespace

class WindowsLoadingTest : public QObject {
    Q_OBJECT

private slots:
    void searchesTheProgramFolderThenTheSystemFolderOnly() {
        QTemporaryDir current;
        QTemporaryDir onPath;
        QVERIFY(current.isValid() && onPath.isValid());
        for (const QString& dir : {current.path(), onPath.path()}) {
            QVERIFY(QFile::copy(stubLibrary(QStringLiteral("complete")), QDir(dir).filePath(QStringLiteral("RZ470.dll"))));
        }
        const PlantedPlaces planted(current.path(), onPath.path());

        const QStringList dirs = LibraryLoader::defaultSearchDirs();
        QCOMPARE(dirs, QStringList({QCoreApplication::applicationDirPath(), systemFolder()}));
        // Without the program's own folder nothing is found, though the current folder and PATH
        // both hold a library.
        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, dirs.mid(1)), std::optional<QString>(binding::kNoVersionInfo));
        QVERIFY(!api.isBound());
    }

    // What the library imports is looked for beside it and in the system folder alone.
    void libraryImportsAreNotTakenFromTheCurrentFolderOrPath() {
        QTemporaryDir dir;
        QTemporaryDir current;
        QVERIFY(dir.isValid() && current.isValid());
        QVERIFY(QFile::copy(stubLibrary(QStringLiteral("missing-dependency")), dir.filePath(QStringLiteral("RZ470.dll"))));
        const QString gone = QDir(QStringLiteral(RZ470_WINDOWS_STUBS_DIR)).filePath(QStringLiteral("gone-dependency-home/rz470-gone.dll"));
        QVERIFY(QFile::copy(gone, current.filePath(QStringLiteral("rz470-gone.dll"))));
        const PlantedPlaces planted(current.path(), current.path());

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(binding::kModuleNotFound));

        // Beside the library it is found.
        QVERIFY(QFile::copy(gone, dir.filePath(QStringLiteral("rz470-gone.dll"))));
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(binding::kMissingFunctions));
    }

    void refusesBrokenLibraries_data() {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("expectedText");

        QTest::newRow("no file") << QString() << binding::kNoVersionInfo;
        QTest::newRow("no version resource") << "no-version" << binding::kNoVersionInfo;
        QTest::newRow("text file") << "text" << binding::kNoVersionInfo;
        QTest::newRow("version 0.9") << "version-0.9" << binding::kIncompatibleVersion;
        QTest::newRow("SetTTLTimeout missing") << "no-set-ttl-timeout" << binding::kMissingFunctions;
    }

    void refusesBrokenLibraries() {
        QFETCH(QString, variant);
        QFETCH(QString, expectedText);

        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("RZ470.dll"));
        if (variant == QLatin1String("text")) {
            QFile file(target);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("not a library\n");
        } else if (!variant.isEmpty()) {
            QVERIFY2(QFile::copy(stubLibrary(variant), target), qPrintable(stubLibrary(variant)));
        }

        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::optional<QString>(expectedText));
        QVERIFY(!api.isBound());
    }

    // The simulated unit as it ships: version 1.2 in its resource and all 84 entry points.
    void bindsTheSimulatedUnit() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString target = dir.filePath(QStringLiteral("RZ470.dll"));
        QVERIFY(QFile::copy(testpaths::inBinDir(QStringLiteral("RZ470.dll")), target));

        const QByteArray info = LibraryLoader::readFixedFileInfo(target);
        QCOMPARE(info.size(), qsizetype(sizeof(rz470::FixedFileInfo)));
        const auto* bytes = reinterpret_cast<const uchar*>(info.constData());
        QCOMPARE(qFromLittleEndian<quint32>(bytes + offsetof(rz470::FixedFileInfo, fileVersionMS)), 0x00010002u);

        qputenv("RZ470_SIM_HOME", QDir(dir.path()).filePath(QStringLiteral("sim")).toUtf8());
        DeviceApi api;
        QCOMPARE(BindDeviceLibrary(api, {dir.path()}), std::nullopt);
        QVERIFY(api.isBound());
        QCOMPARE(api.GetNumDevicesConnected(), RZ470Word(1));
    }
};

QTEST_GUILESS_MAIN(WindowsLoadingTest)
#include "tst_windowsloading.moc"
