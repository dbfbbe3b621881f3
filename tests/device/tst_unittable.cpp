#include "GroupingAndTrigger.h"
#include "UnitTable.h"

#include <QtTest>

#include <cstring>

class UnitTableTest : public QObject {
    Q_OBJECT

private slots:
    void preparationEmptiesEverySlotAtFullIntensity() {
        UnitTable table;
        table.unitSlots[3].deviceIndex = 7;
        table.unitSlots[0].channels[2].intensity = 12;
        table.unitSlots[0].channels[2].locked = 1;
        std::strcpy(table.unitSlots[0].channels[2].name, "UV");
        table.panelMap[4] = 0;

        table.Prepare();
        for (const UnitSlot& slot : table.unitSlots) {
            QVERIFY(slot.isEmpty());
            for (const rz470::ChannelRecord& record : slot.channels) {
                QCOMPARE(record.intensity, uint16_t(1000));
                QCOMPARE(record.locked, uint32_t(0));
                QCOMPARE(record.name[0], '\0');
            }
            // Nothing drawn yet: a level of 0 must still be drawn, and its slider set.
            for (const rz470::ChannelRecord& shown : slot.shownChannels) {
                QCOMPARE(shown.intensity, kNothingShown);
            }
        }
        for (uint8_t position = 0; position < 9; ++position) {
            QCOMPARE(table.panelMap[position], position);
        }
    }

    void boundedTextNeverRunsPastEitherSide_data() {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<int>("capacity");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("short name") << QByteArray("DAPI") << 20 << QByteArray("DAPI");
        // A unit name that fills its 20-byte buffer without a terminator.
        QTest::newRow("unterminated buffer") << QByteArray(20, 'A') << 20 << QByteArray(20, 'A');
        QTest::newRow("longer than the field") << QByteArray(80, 'B') << 80 << QByteArray(49, 'B');
        QTest::newRow("empty") << QByteArray() << 0 << QByteArray();
    }

    void boundedTextNeverRunsPastEitherSide() {
        QFETCH(QByteArray, source);
        QFETCH(int, capacity);
        QFETCH(QByteArray, expected);
        rz470::ChannelRecord record{};
        std::memset(record.name, 'x', sizeof record.name);
        record.mfgDate[0] = 'M';
        CopyBoundedText(record.name, source.constData(), static_cast<size_t>(capacity));
        QCOMPARE(QByteArray(record.name), expected);
        QCOMPARE(record.mfgDate[0], 'M');
    }

    void groupNumbersComeFromTheMemberLists() {
        GroupingAndTrigger state;
        state.groupMembers[1] = {1, 2, 0, 5};     // stops at the first zero
        state.groupMembers[2] = {2, 10, 255, 9};  // a second listing wins; out-of-range LEDs are skipped
        state.groupMembers[6] = {3, 4, 5, 6, 7, 8, 9, 1, 2};  // nine entries, no terminator
        state.ledGroup.fill(4);

        state.DeriveLedGroups();
        const std::array<uint8_t, 9> expected{6, 6, 6, 6, 6, 6, 6, 6, 6};
        QCOMPARE(state.ledGroup, expected);

        state.groupMembers[6] = {};
        state.DeriveLedGroups();
        const std::array<uint8_t, 9> withoutSix{1, 2, 0, 0, 0, 0, 0, 0, 2};
        QCOMPARE(state.ledGroup, withoutSix);
    }

    void memberListsComeFromTheGroupNumbers() {
        GroupingAndTrigger state;
        state.groupMembers[5] = {3, 0, 0, 0, 0, 0, 0, 0, 0};  // stale: cleared first
        state.ledGroup = {1, 0, 1, 6, 7, 0, 0, 0, 1};         // 7 is no group
        state.RebuildGroupMembers();
        QCOMPARE(state.groupMembers[1], (std::array<uint8_t, 9>{1, 3, 9, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(state.groupMembers[6], (std::array<uint8_t, 9>{4, 0, 0, 0, 0, 0, 0, 0, 0}));
        QCOMPARE(state.groupMembers[5], (std::array<uint8_t, 9>{}));
        state.DeriveLedGroups();
        QCOMPARE(state.ledGroup, (std::array<uint8_t, 9>{1, 0, 1, 6, 0, 0, 0, 0, 1}));
    }
};

QTEST_GUILESS_MAIN(UnitTableTest)
#include "tst_unittable.moc"
