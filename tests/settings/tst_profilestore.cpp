#include "FileSizeLimit.h"
#include "ProfileStore.h"
#include "SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

class ProfileStoreTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    QString iniFile() const { return dir_.filePath(QStringLiteral("profile.ini")); }

    void writeRaw(const QByteArray& contents) {
        QFile file(iniFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
    }

private slots:
    void init() { QFile::remove(iniFile()); }

    void roundTripsAcrossInstances() {
        {
            ProfileStore store(iniFile());
            store.writeString(settings::kNamesSection, settings::valueName(settings::kNameValue, 405),
                              "DAPI");
            store.writeInt(settings::kIntensitiesSection, settings::valueName(settings::kIntensityValue, 405),
                           373);
            store.writeInt(settings::kFavouritesSection,
                           settings::valueName(settings::kFavouriteGroupsValue, 10), 268435464);
            store.writeString(settings::kDemoLoopSection, settings::kDemoSelectionValue, "1,0,1,0,1,0,1,0,1");
        }
        ProfileStore reopened(iniFile());
        QCOMPARE(reopened.readString(settings::kNamesSection, "Name405", {}), QStringLiteral("DAPI"));
        QCOMPARE(reopened.readInt(settings::kIntensitiesSection, "Intensity405", 65535), 373);
        QCOMPARE(reopened.readInt(settings::kFavouritesSection, "Value10", 0), 268435464);
        QCOMPARE(reopened.readString(settings::kDemoLoopSection, "Selection", {}),
                 QStringLiteral("1,0,1,0,1,0,1,0,1"));
    }

    // A burst of writes (a slider dragged, a script setting levels) goes out to disk once its
    // interval is over, with its last values; nothing waiting is lost at a flush or at the end.
    void aBurstOfWritesGoesOutTogether() {
        // The file's own text: a QSettings in this process would share the store's unwritten values.
        const auto onDisk = [this] {
            QFile file(iniFile());
            if (!file.open(QIODevice::ReadOnly)) {
                return -1;
            }
            const QRegularExpressionMatch found = QRegularExpression(QStringLiteral("Intensity405=(\\d+)"))
                                                      .match(QString::fromUtf8(file.readAll()));
            return found.hasMatch() ? found.captured(1).toInt() : -1;
        };
        {
            ProfileStore store(iniFile());
            store.writeInt(settings::kIntensitiesSection, "Intensity405", 100);
            QCOMPARE(onDisk(), 100);  // the first goes out at once
            for (int level = 101; level <= 150; ++level) {
                store.writeInt(settings::kIntensitiesSection, "Intensity405", level);
            }
            QCOMPARE(store.readInt(settings::kIntensitiesSection, "Intensity405", 0), 150);
            QCOMPARE(onDisk(), 100);
            QTRY_COMPARE_WITH_TIMEOUT(onDisk(), 150, 10 * ProfileStore::kWriteIntervalMs);

            store.writeInt(settings::kIntensitiesSection, "Intensity405", 200);
            store.flush();
            QCOMPARE(onDisk(), 200);
            store.writeInt(settings::kIntensitiesSection, "Intensity405", 300);
        }
        QCOMPARE(onDisk(), 300);
    }

    void absentValuesYieldDefaultsAndAreNotCreated() {
        ProfileStore store(iniFile());
        QCOMPARE(store.readInt(settings::kIntensitiesSection, "Intensity365", settings::kIntensityAbsent),
                 65535);
        QCOMPARE(store.readString(settings::kNamesSection, "Name365", QStringLiteral("x")),
                 QStringLiteral("x"));
        QCOMPARE(store.readString(settings::kNamesSection, "Name365", {}), QString());
        QVERIFY(!QFile::exists(iniFile()) || QFile(iniFile()).size() == 0);
    }

    void unreadableIntegersYieldTheDefault_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("expected");
        QTest::newRow("number") << QByteArray("512") << 512;
        QTest::newRow("negative") << QByteArray("-3") << -3;
        QTest::newRow("text") << QByteArray("bright") << 65535;
        QTest::newRow("number then text") << QByteArray("12abc") << 65535;
        QTest::newRow("empty") << QByteArray("") << 65535;
        QTest::newRow("beyond 32 bits") << QByteArray("99999999999") << 65535;
        QTest::newRow("list") << QByteArray("1, 2") << 65535;
        // Registry numbers are unsigned 32-bit words read back as int.
        QTest::newRow("largest word") << QByteArray("4294967295") << -1;
    }

    void unreadableIntegersYieldTheDefault() {
        QFETCH(QByteArray, stored);
        QFETCH(int, expected);
        writeRaw("[Intensities]\nIntensity405=" + stored + "\n");
        ProfileStore store(iniFile());
        QCOMPARE(store.readInt(settings::kIntensitiesSection, "Intensity405", settings::kIntensityAbsent),
                 expected);
    }

    void handEditedListsReadAsText() {
        writeRaw("[Demo%20Loop]\nOrder=0, 1, 2\n");
        ProfileStore store(iniFile());
        QCOMPARE(store.readString(settings::kDemoLoopSection, settings::kDemoOrderValue, {}),
                 QStringLiteral("0,1,2"));
    }

    // Values the company-wide file or the machine-wide folder hold are not this program's: they
    // must neither show on the panel nor reach the unit.
    void theUsersStoreReadsOnlyTheProgramsOwnKey() {
        QTemporaryDir userDir;
        QTemporaryDir systemDir;
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userDir.path());
        QSettings::setPath(QSettings::NativeFormat, QSettings::SystemScope, systemDir.path());
        QCoreApplication::setApplicationName(QStringLiteral("rz470-control-panel"));
        const QString company = settings::kCompanyKey;
        const QByteArray foreign = "[Names]\nName470=Foreign\n[Intensities]\nIntensity470=1\n";
        for (const QString& file : {userDir.filePath(company + QStringLiteral(".conf")),
                                    systemDir.filePath(company + QStringLiteral("/rz470-control-panel.conf")),
                                    systemDir.filePath(company + QStringLiteral(".conf"))}) {
            QVERIFY(QDir().mkpath(QFileInfo(file).path()));
            QFile out(file);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(foreign);
        }

        ProfileStore store;
        QCOMPARE(store.readString(settings::kNamesSection, "Name470", {}), QString());
        QCOMPARE(store.readInt(settings::kIntensitiesSection, "Intensity470", settings::kIntensityAbsent),
                 settings::kIntensityAbsent);

        store.writeString(settings::kNamesSection, "Name470", "Own");
        QCOMPARE(ProfileStore().readString(settings::kNamesSection, "Name470", {}), QStringLiteral("Own"));
        QCOMPARE(store.location(), userDir.filePath(company + QStringLiteral("/rz470-control-panel.conf")));
    }

    void aWriteTheStoreCannotKeepIsReportedOnce_data() {
        QTest::addColumn<QString>("obstacle");
        QTest::addColumn<bool>("fails");
        QTest::newRow("a writable file") << "none" << false;
        QTest::newRow("a read-only file") << "read-only" << true;
        QTest::newRow("a folder in the file's place") << "folder" << true;
        QTest::newRow("no room on the disk") << "full" << true;
    }

    // The values set stay readable for the rest of the run, and the store goes on taking writes.
    void aWriteTheStoreCannotKeepIsReportedOnce() {
        QFETCH(QString, obstacle);
        QFETCH(bool, fails);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("profile.ini"));
        if (obstacle == QLatin1String("read-only")) {
            if (::geteuid() == 0) {
                QSKIP("a read-only file is writable for root");
            }
            QFile made(file);
            QVERIFY(made.open(QIODevice::WriteOnly));
            made.write("[Names]\nName365=Old\n");
            made.close();
            QVERIFY(made.setPermissions(QFileDevice::ReadOwner));
        } else if (obstacle == QLatin1String("folder")) {
            QVERIFY(QDir().mkdir(file));
        }
        std::unique_ptr<FileSizeLimit> full;
        if (obstacle == QLatin1String("full")) {
            full = std::make_unique<FileSizeLimit>(8);  // as a disk with no room
        }

        ProfileStore store(file);
        QStringList reported;
        store.setWriteFailureHandler([&reported](const QString& location) { reported << location; });
        store.writeString(settings::kNamesSection, "Name405", "DAPI");
        store.writeInt(settings::kIntensitiesSection, "Intensity405", 373);
        store.writeString(settings::kNamesSection, "Name405", "GFP");
        full.reset();

        QCOMPARE(reported, fails ? QStringList{file} : QStringList{});
        QCOMPARE(store.hasWriteFailed(), fails);
        QCOMPARE(store.readString(settings::kNamesSection, "Name405", {}), QStringLiteral("GFP"));
        QCOMPARE(store.readInt(settings::kIntensitiesSection, "Intensity405", 0), 373);
    }

    void valueNamesCarryTheirNumber_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("expected");
        QTest::newRow("name by wavelength") << settings::kNameValue << 405 << "Name405";
        QTest::newRow("delay by channel") << settings::kDelayValue << 0 << "Delay0";
        QTest::newRow("favourite slot 10") << settings::kFavouriteGroupsValue << 10 << "Value10";
        QTest::newRow("on by wavelength") << settings::kOnValue << 635 << "On635";
    }

    void valueNamesCarryTheirNumber() {
        QFETCH(QString, pattern);
        QFETCH(int, number);
        QFETCH(QString, expected);
        QCOMPARE(settings::valueName(pattern.toLatin1().constData(), number), expected);
    }
};

QTEST_GUILESS_MAIN(ProfileStoreTest)
#include "tst_profilestore.moc"
