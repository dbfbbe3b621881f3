#include "BusObject.h"
#include "BusValues.h"
#include "ChangedProperties.h"
#include "ScriptCommands.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QJsonArray>
#include <QJsonDocument>
#include <QTest>

// How the command layer's JSON reaches the bus, which property changes are announced, and the
// error names refusals carry.
class TestBusValues : public QObject {
    Q_OBJECT

private slots:
    void jsonTakesTheBusTypeACallerExpects_data();
    void jsonTakesTheBusTypeACallerExpects();
    void aNestedObjectKeepsItsFieldsTyped();
    void onlyChangedPropertiesAreAnnounced();
    void eachErrorKindHasItsOwnBusName_data();
    void eachErrorKindHasItsOwnBusName();
};

void TestBusValues::jsonTakesTheBusTypeACallerExpects_data() {
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("signature");
    QTest::newRow("whole number as int32") << "373"
                                           << "i";
    QTest::newRow("negative whole number") << "-1"
                                           << "i";
    QTest::newRow("fraction stays a double") << "37.5"
                                             << "d";
    QTest::newRow("too large for int32 stays a double") << "4294967296"
                                                        << "d";
    QTest::newRow("boolean") << "true"
                             << "b";
    QTest::newRow("string") << "\"DAPI\""
                            << "s";
    QTest::newRow("null reads as an empty string") << "null"
                                                   << "s";
    QTest::newRow("list of whole numbers") << "[0, 1, 2]"
                                           << "ai";
    QTest::newRow("list of names") << "[\"a\", \"b\"]"
                                   << "as";
    QTest::newRow("list of flags") << "[true, false]"
                                   << "ab";
    QTest::newRow("mixed list stays variants") << "[1, \"a\"]"
                                               << "av";
    QTest::newRow("list with a fraction stays variants") << "[1, 2.5]"
                                                         << "av";
    QTest::newRow("object") << "{\"level\": 5}"
                            << "a{sv}";
}

void TestBusValues::jsonTakesTheBusTypeACallerExpects() {
    QFETCH(QString, json);
    QFETCH(QString, signature);
    const QJsonDocument document = QJsonDocument::fromJson("[" + json.toUtf8() + "]");
    QVERIFY(!document.isNull());
    const QVariant value = busvalues::FromJson(document.array().first());
    QCOMPARE(QString::fromLatin1(QDBusMetaType::typeToSignature(value.metaType())), signature);
}

void TestBusValues::aNestedObjectKeepsItsFieldsTyped() {
    const QJsonObject status = QJsonDocument::fromJson(R"({"connected": true,
        "channels": [{"level": 373, "name": "DAPI"}, {"level": null, "name": ""}]})")
                                   .object();
    const QVariantMap map = busvalues::FromJson(status);
    QCOMPARE(map.value("connected").metaType(), QMetaType::fromType<bool>());
    const QVariantList channels = map.value("channels").toList();
    QCOMPARE(channels.size(), 2);
    const QVariantMap first = channels.first().toMap();
    QCOMPARE(first.value("level").metaType(), QMetaType::fromType<int>());
    QCOMPARE(first.value("level").toInt(), 373);
    QCOMPARE(first.value("name").toString(), QStringLiteral("DAPI"));
    // A level not known yet has no key rather than one of another type.
    const QVariantMap second = channels.last().toMap();
    QVERIFY(!second.contains("level"));
    QVERIFY(second.contains("name"));
}

void TestBusValues::onlyChangedPropertiesAreAnnounced() {
    ChangedProperties announced;
    const QVariantMap start{{"Connected", true},
                            {"Levels", QVariant::fromValue(QList<int>{0, 0, 0})},
                            {"Names", QStringList{"a", "b"}}};
    QCOMPARE(announced.Update(start), start);
    QVERIFY(announced.Update(start).isEmpty());

    QVariantMap knobTurned = start;
    knobTurned["Levels"] = QVariant::fromValue(QList<int>{0, 0, 750});
    QCOMPARE(announced.Update(knobTurned), (QVariantMap{{"Levels", knobTurned["Levels"]}}));
    QVERIFY(announced.Update(knobTurned).isEmpty());

    // Back to a value announced before is a change too.
    QCOMPARE(announced.Update(start), (QVariantMap{{"Levels", start["Levels"]}}));
}

void TestBusValues::eachErrorKindHasItsOwnBusName_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("name");
    QTest::newRow("usage") << scripterrors::kUsage << "Usage";
    QTest::newRow("refused") << scripterrors::kRefused << "Refused";
    QTest::newRow("busy") << scripterrors::kBusy << "Busy";
    QTest::newRow("scripting off") << scripterrors::kOff << "ScriptingOff";
    QTest::newRow("no unit") << scripterrors::kAbsent << "UnitAbsent";
    QTest::newRow("no such favourite") << scripterrors::kNotFound << "NotFound";
}

void TestBusValues::eachErrorKindHasItsOwnBusName() {
    QFETCH(QString, kind);
    QFETCH(QString, name);
    QCOMPARE(BusObject::ErrorName(kind), "example.varnholt.Orvane1.Error." + name);
}

QTEST_GUILESS_MAIN(TestBusValues)
#include "tst_busvalues.moc"
