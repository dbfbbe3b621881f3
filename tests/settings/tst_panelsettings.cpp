// The typed settings over a profile in a temporary INI file, with no window.
#include "NumberList.h"
#include "PanelSettings.h"
#include "ProfileStore.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <array>

using Groups = std::array<uint8_t, 9>;
Q_DECLARE_METATYPE(Groups)

class PanelSettingsTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir dir_;
    std::unique_ptr<ProfileStore> store_;
    std::unique_ptr<PanelSettings> settings_;

    QString iniFile() const { return dir_.filePath(QStringLiteral("profile.ini")); }
    void writeRaw(const QByteArray& contents) {
        settings_.reset();
        store_.reset();
        QFile file(iniFile());
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(contents);
        file.close();
        reopen();
    }
    void reopen() {
        settings_.reset();
        store_ = std::make_unique<ProfileStore>(iniFile());
        settings_ = std::make_unique<PanelSettings>(*store_);
    }

private slots:
    void init() {
        QFile::remove(iniFile());
        reopen();
    }

    void namesAndLevelsFollowTheWavelength() {
        settings_->SetChannelName(405, QStringLiteral("DAPI"));
        settings_->SetChannelIntensity(405, 373);
        reopen();
        QCOMPARE(settings_->ChannelName(405), QStringLiteral("DAPI"));
        QCOMPARE(settings_->ChannelIntensity(405), std::optional<uint16_t>(373));
        QCOMPARE(settings_->ChannelName(470), QString());
        QCOMPARE(settings_->ChannelIntensity(470), std::nullopt);
    }

    void storedLevelsOutsideTheRangeAreAbsent_data() {
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("level");  // -1: absent
        QTest::newRow("0") << QByteArray("0") << 0;
        QTest::newRow("full scale") << QByteArray("1000") << 1000;
        QTest::newRow("above full scale") << QByteArray("1001") << -1;
        QTest::newRow("the absent marker") << QByteArray("65535") << -1;
        QTest::newRow("negative") << QByteArray("-1") << -1;
        QTest::newRow("text") << QByteArray("bright") << -1;
    }

    void storedLevelsOutsideTheRangeAreAbsent() {
        QFETCH(QByteArray, stored);
        QFETCH(int, level);
        writeRaw("[Intensities]\nIntensity470=" + stored + "\n");
        const std::optional<uint16_t> read = settings_->ChannelIntensity(470);
        QCOMPARE(read ? int(*read) : -1, level);
    }

    void groupsPackThreeBitsPerChannel_data() {
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<quint32>("packed");
        QTest::newRow("none") << Groups{} << 0u;
        QTest::newRow("LED 1 in group 1") << Groups{1, 0, 0, 0, 0, 0, 0, 0, 0} << 134217728u;
        QTest::newRow("1,2,3,4,1,2,3,4,0") << Groups{1, 2, 3, 4, 1, 2, 3, 4, 0} << 01234123400u;
        QTest::newRow("LED 1 in 2, LED 9 in 1") << Groups{2, 0, 0, 0, 0, 0, 0, 0, 1} << 268435464u;
        QTest::newRow("every LED in 6") << Groups{6, 6, 6, 6, 6, 6, 6, 6, 6} << 06666666660u;
    }

    void groupsPackThreeBitsPerChannel() {
        QFETCH(Groups, groups);
        QFETCH(quint32, packed);
        QCOMPARE(PanelSettings::PackGroups(groups), packed);
        QCOMPARE(PanelSettings::UnpackGroups(packed), groups);
    }

    // A value edited outside the panel: only bits 3..29 count, and a 7, which names no group,
    // is no group.
    void handEditedFavouritesReadAsSomethingTheUnitTakes_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<QByteArray>("mode");
        QTest::addColumn<Groups>("groups");
        QTest::addColumn<int>("readMode");
        QTest::newRow("group 7 for LED 1")
            << QByteArray("939524096") << QByteArray("1") << Groups{0, 0, 0, 0, 0, 0, 0, 0, 0} << 1;
        QTest::newRow("7 beside a real group")
            << QByteArray::number(07300000000) << QByteArray("2") << Groups{0, 3, 0, 0, 0, 0, 0, 0, 0} << 2;
        QTest::newRow("-1: every bit set") << QByteArray("-1") << QByteArray("0") << Groups{} << 0;
        QTest::newRow("bits 0..2 and 30..31 set")
            << QByteArray::number(0xC0000007u | (5u << 3)) << QByteArray("2")
            << Groups{0, 0, 0, 0, 0, 0, 0, 0, 5} << 2;
        QTest::newRow("not a number") << QByteArray("lots") << QByteArray("one") << Groups{} << 0;
        QTest::newRow("mode 3") << QByteArray("134217728") << QByteArray("3")
                                << Groups{1, 0, 0, 0, 0, 0, 0, 0, 0} << 0;
        QTest::newRow("mode 258, low byte 2")
            << QByteArray("134217728") << QByteArray("258") << Groups{1, 0, 0, 0, 0, 0, 0, 0, 0} << 0;
        QTest::newRow("mode -1") << QByteArray("0") << QByteArray("-1") << Groups{} << 0;
    }

    void handEditedFavouritesReadAsSomethingTheUnitTakes() {
        QFETCH(QByteArray, value);
        QFETCH(QByteArray, mode);
        QFETCH(Groups, groups);
        QFETCH(int, readMode);
        writeRaw("[Grp%20Combinations]\nName4=Edited\nValue4=" + value + "\nMode4=" + mode + "\n");
        const FavouriteGrouping read = settings_->Favourite(4);
        QCOMPARE(read.name, QStringLiteral("Edited"));
        QCOMPARE(PanelSettings::UnpackGroups(read.packedGroups), groups);
        QCOMPARE(read.mode, readMode);
    }

    void favouriteNamesAreBounded() {
        settings_->SetFavourite(1, {QString(5000, QLatin1Char('x')), 0, 0});
        reopen();
        QCOMPARE(settings_->Favourite(1).name.size(), 1024);
    }

    void favouritesKeepNameGroupsAndMode() {
        const Groups groups = {2, 0, 0, 0, 0, 0, 0, 0, 1};
        settings_->SetFavourite(3, {QStringLiteral("FRET"), PanelSettings::PackGroups(groups), 2});
        reopen();
        const FavouriteGrouping read = settings_->Favourite(3);
        QCOMPARE(read.name, QStringLiteral("FRET"));
        QCOMPARE(read.packedGroups, uint32_t(268435464));
        QCOMPARE(read.mode, 2);
        QVERIFY(settings_->Favourite(4).isFree());

        // Deleting writes an empty name and zeros: the slot is free again.
        settings_->SetFavourite(3, {});
        QVERIFY(settings_->Favourite(3).isFree());
        QCOMPARE(settings_->Favourite(3).packedGroups, uint32_t(0));
    }

    void slotsOutsideOneToTenAreFreeAndTakeNoWrite() {
        settings_->SetFavourite(0, {QStringLiteral("zero"), 8, 1});
        settings_->SetFavourite(11, {QStringLiteral("eleven"), 8, 1});
        QVERIFY(settings_->Favourite(0).isFree());
        QVERIFY(settings_->Favourite(11).isFree());
        QVERIFY(!QFile(iniFile()).exists() || !QFile(iniFile()).readAll().contains("Name0"));
    }

    void demoLoopListsRoundTrip() {
        QCOMPARE(settings_->DemoLoop().selection, std::vector<int>{});
        settings_->SetDemoLoop({0, 1, 1, 0, 1, 0, 0, 1, 0}, {1, 2, 4, 7, 0, 0, 0, 0, 0}, 2000, 100);
        reopen();
        const StoredDemoLoop read = settings_->DemoLoop();
        QCOMPARE(read.selection, (std::vector<int>{0, 1, 1, 0, 1, 0, 0, 1, 0}));
        QCOMPARE(read.order, (std::vector<int>{1, 2, 4, 7, 0, 0, 0, 0, 0}));
        QCOMPARE(read.times, (std::vector<int>{2000, 100}));
    }

    void leadingNumbers_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("maxCount");
        QTest::addColumn<QList<int>>("numbers");
        QTest::newRow("nine") << "1,2,3,4,5,6,7,8,9" << 9 << QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9};
        QTest::newRow("trailing comma") << "200,10," << 2 << QList<int>{200, 10};
        QTest::newRow("at most maxCount") << "1,2,3" << 2 << QList<int>{1, 2};
        QTest::newRow("fewer than asked") << "4,5" << 9 << QList<int>{4, 5};
        QTest::newRow("blanks before numbers") << " 4, 5" << 9 << QList<int>{4, 5};
        QTest::newRow("signs") << "-3,+4" << 9 << QList<int>{-3, 4};
        QTest::newRow("stops at text") << "1,x,3" << 9 << QList<int>{1};
        QTest::newRow("stops at an empty entry") << "1,,2" << 9 << QList<int>{1};
        QTest::newRow("no number first") << "abc" << 9 << QList<int>{};
        QTest::newRow("empty") << "" << 9 << QList<int>{};
        QTest::newRow("beyond int") << "7,99999999999,8" << 9 << QList<int>{7};
        QTest::newRow("lowest int") << "-2147483648" << 1 << QList<int>{-2147483647 - 1};
        QTest::newRow("blank after a number") << "1 ,2" << 9 << QList<int>{1};
    }

    void leadingNumbers() {
        QFETCH(QString, text);
        QFETCH(int, maxCount);
        QFETCH(QList<int>, numbers);
        const std::vector<int> read = settings::LeadingNumbers(text, maxCount);
        QCOMPARE(QList<int>(read.begin(), read.end()), numbers);
    }
};

QTEST_GUILESS_MAIN(PanelSettingsTest)
#include "tst_panelsettings.moc"
