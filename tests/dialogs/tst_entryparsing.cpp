#include "EntryParser.h"
#include "LedName.h"

#include <QtTest>

#include <cmath>
#include <cstring>
#include <limits>

Q_DECLARE_METATYPE(EntryParser::Verdict)

namespace {

constexpr float kStartDecimal = 55.5f;
constexpr uint16_t kStartValue = 1234;

}  // namespace

class EntryParsingTest : public QObject {
    Q_OBJECT

private slots:
    void apply_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("decimalMode");
        QTest::addColumn<EntryParser::Verdict>("verdict");
        QTest::addColumn<float>("decimalValue");
        QTest::addColumn<int>("value");

        using V = EntryParser::Verdict;
        const QString nineteen = QStringLiteral("1234567890123456789");
        const QString twenty = nineteen + QLatin1Char('0');

        QTest::newRow("decimal 37.3") << "37.3" << true << V::Accepted << 37.35f << int(kStartValue);
        QTest::newRow("decimal empty") << "" << true << V::Accepted << 0.05f << int(kStartValue);
        QTest::newRow("decimal 1.2.3 reads 1.2")
            << "1.2.3" << true << V::Accepted << 1.25f << int(kStartValue);
        QTest::newRow("decimal .5") << ".5" << true << V::Accepted << 0.55f << int(kStartValue);
        QTest::newRow("decimal 5.") << "5." << true << V::Accepted << 5.05f << int(kStartValue);
        QTest::newRow("decimal lone dot") << "." << true << V::Accepted << 0.05f << int(kStartValue);
        QTest::newRow("decimal 19 characters")
            << nineteen << true << V::Accepted << 1234567890123456789.0f << int(kStartValue);

        QTest::newRow("integer 12.7 reads 12") << "12.7" << false << V::Accepted << kStartDecimal << 12;
        QTest::newRow("integer 70000 saturates") << "70000" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 65535") << "65535" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 65536 saturates, never 0")
            << "65536" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 65545 saturates, never 9")
            << "65545" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 32-bit maximum")
            << "2147483647" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer just past 32 bits")
            << "2147483648" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 99999999999 saturates")
            << "99999999999" << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer 19 characters") << nineteen << false << V::Accepted << kStartDecimal << 65535;
        QTest::newRow("integer empty") << "" << false << V::Accepted << kStartDecimal << 0;
        QTest::newRow("integer .7") << ".7" << false << V::Accepted << kStartDecimal << 0;
        QTest::newRow("integer leading zeros") << "000042" << false << V::Accepted << kStartDecimal << 42;

        // Refused texts leave both fields as they were.
        QTest::newRow("minus sign") << "-5" << true << V::InvalidCharacter << kStartDecimal
                                    << int(kStartValue);
        QTest::newRow("trailing space")
            << "5 " << false << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("comma") << "5,5" << true << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("letter") << "1e3" << true << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        // Letters whose low byte is a digit or a dot, and digits of other scripts: only the ten
        // ASCII digits count.
        QTest::newRow("U+0130 (low byte '0')")
            << QString(QChar(0x0130)) << false << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("U+012E (low byte '.')") << QStringLiteral("5") + QChar(0x012E) << true
                                               << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("Arabic-Indic digit")
            << QString(QChar(0x0661)) << false << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("fullwidth digit")
            << QString(QChar(0xFF11)) << false << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("19 characters, one bad") << QStringLiteral("123456789012345678-") << false
                                                << V::InvalidCharacter << kStartDecimal << int(kStartValue);
        QTest::newRow("20 characters")
            << twenty << false << V::InvalidLength << kStartDecimal << int(kStartValue);
        QTest::newRow("20 characters, decimal")
            << twenty << true << V::InvalidLength << kStartDecimal << int(kStartValue);
        QTest::newRow("length is checked before characters")
            << QString(25, QLatin1Char('x')) << true << V::InvalidLength << kStartDecimal << int(kStartValue);
    }

    void apply() {
        QFETCH(QString, text);
        QFETCH(bool, decimalMode);
        QFETCH(EntryParser::Verdict, verdict);
        QFETCH(float, decimalValue);
        QFETCH(int, value);

        float decimal = kStartDecimal;
        uint16_t integer = kStartValue;
        QCOMPARE(EntryParser::Apply(text, decimalMode, decimal, integer), verdict);
        QCOMPARE(decimal, decimalValue);
        QCOMPARE(int(integer), value);
    }

    // The caller turns a percentage into tenths by multiplying by 10 and truncating; every typed
    // tenth must survive that.
    void everyTypedTenthSurvivesTruncation() {
        for (int tenths = 0; tenths <= 1001; ++tenths) {
            const QString typed = QStringLiteral("%1.%2").arg(tenths / 10).arg(tenths % 10);
            const float value = EntryParser::DecimalValue(typed);
            QVERIFY2(static_cast<int>(value * 10) == tenths, qPrintable(typed));
        }
    }

    // Callers that skip the check may hand over a sign, a number beyond the float range or a word
    // from_chars takes for one: the value stays a finite number (the fuzzer found both).
    void decimalValueStaysWithinFloatRange_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<float>("expected");
        const float most = std::numeric_limits<float>::max();
        QTest::newRow("-4e101") << QStringLiteral("-4") + QString(101, QLatin1Char('0')) << -most;
        QTest::newRow("4e101") << QStringLiteral("4") + QString(101, QLatin1Char('0')) << most;
        QTest::newRow("-12.5") << QStringLiteral("-12.5") << -12.45f;
        QTest::newRow("nan") << QStringLiteral("nAn") << 0.05f;
        QTest::newRow("inf") << QStringLiteral("inf") << most;
        QTest::newRow("-infinity") << QStringLiteral("-infinity") << -most;
    }

    void decimalValueStaysWithinFloatRange() {
        QFETCH(QString, text);
        QFETCH(float, expected);
        const float value = EntryParser::DecimalValue(text);
        QVERIFY(std::isfinite(value));
        QCOMPARE(value, expected);
    }

    void shownText_data() {
        QTest::addColumn<bool>("decimalMode");
        QTest::addColumn<float>("decimalValue");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("shown");

        QTest::newRow("decimal 55.5") << true << 55.5f << 0 << "55.5";
        QTest::newRow("decimal 37.3 after OK") << true << 37.35f << 0 << "37.3";
        QTest::newRow("decimal 0") << true << 0.0f << 0 << "0.0";
        QTest::newRow("integer 0") << false << 0.0f << 0 << "0";
        QTest::newRow("integer 65535") << false << 0.0f << 65535 << "65535";
    }

    void shownText() {
        QFETCH(bool, decimalMode);
        QFETCH(float, decimalValue);
        QFETCH(int, value);
        QFETCH(QString, shown);
        QCOMPARE(decimalMode ? EntryParser::DecimalText(decimalValue)
                             : EntryParser::IntegerText(static_cast<uint16_t>(value)),
                 shown);
    }

    void cutName_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("cut");

        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");  // one character, two UTF-16 units
        QTest::newRow("ten letters") << "ABCDEFGHIJ"
                                     << "ABCDEFGH";
        QTest::newRow("eight letters") << "ABCDEFGH"
                                       << "ABCDEFGH";
        QTest::newRow("short") << "405nm"
                               << "405nm";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("pair as eighth character") << "ABCDEFG" + smile + "X"
                                                  << "ABCDEFG" + smile;
        QTest::newRow("pair as ninth character") << "ABCDEFGH" + smile << "ABCDEFGH";
    }

    void cutName() {
        QFETCH(QString, typed);
        QFETCH(QString, cut);
        QCOMPARE(LedName::Cut(typed), cut);
    }

    void storeName_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QByteArray>("field");

        const QByteArray old("OLDNAME");
        QTest::newRow("eight letters") << "ABCDEFGH" << true << QByteArray("ABCDEFGH");
        QTest::newRow("empty") << "" << true << QByteArray();
        QTest::newRow("Latin-1 kept") << QString::fromUtf8("Gr\xC3\xBCn") << true << QByteArray("Gr\xFCn");
        QTest::newRow("last Latin-1 letter and no-break space kept")
            << QString::fromUtf8("\xC3\xBF\xC2\xA0!~") << true << QByteArray("\xFF\xA0!~");
        // Never mangled on the way: a name is kept as written or not at all.
        QTest::newRow("Greek refused") << QString::fromUtf8("\xCE\xA9mega") << false << old;
        QTest::newRow("pair refused") << QString::fromUtf8(
                                             "A\xF0\x9F\x98\x80"
                                             "B")
                                      << false << old;
        QTest::newRow("embedded NUL refused")
            << QStringLiteral("A") + QChar(0) + QStringLiteral("B") << false << old;
        QTest::newRow("newline refused") << "a\nok\nb" << false << old;
        // A long name the unit reported, handed back by a cancelled dialog.
        QTest::newRow("nine letters refused") << "ABCDEFGHI" << false << old;
        QTest::newRow("nineteen letters refused") << "ABCDEFGHIJKLMNOPQRS" << false << old;
    }

    void storeName() {
        QFETCH(QString, name);
        QFETCH(bool, stored);
        QFETCH(QByteArray, field);

        // The channel record's 50-byte field, then a guard that must never be written.
        struct {
            char name[50];
            char guard[16];
        } record;
        std::memset(&record, 0x7F, sizeof record);
        std::strcpy(record.name, "OLDNAME");

        QCOMPARE(LedName::Store(name, record.name), stored);
        QCOMPARE(QByteArray(record.name), field);
        QCOMPARE(LedName::FromNarrow(record.name), QString::fromLatin1(field));
        for (const char c : record.guard) {
            QCOMPARE(c, '\x7F');
        }
        // Only the name and its NUL were written.
        for (std::size_t i = qMax<std::size_t>(std::strlen(record.name) + 1, 8); i < sizeof record.name;
             ++i) {
            QCOMPARE(record.name[i], '\x7F');
        }
    }

    // Everything that could break a line, steer a terminal or hide what a name says, and what is
    // outside the 8-bit set names are stored and drawn in.
    void refusal_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal");

        const QString control =
            QStringLiteral("a name cannot hold control, line-break or text-direction characters (%1)");
        const QString outside = QStringLiteral("a name can hold only Latin-1 characters, not \"%1\" (%2)");
        QTest::newRow("plain") << "DAPI 405" << QString();
        QTest::newRow("empty") << "" << QString();
        QTest::newRow("every printable ASCII") << " !\"#$%&'()*+,-./09:;<=>?@AZ[\\]^_`az{|}~" << QString();
        QTest::newRow("Latin-1 signs and letters")
            << QString::fromUtf8("\xC2\xA0\xC2\xB5\xC3\x80\xC3\xBF") << QString();
        QTest::newRow("newline") << "a\nok\nb" << control.arg("U+000A");
        QTest::newRow("CR") << "a\rb" << control.arg("U+000D");
        QTest::newRow("tab") << "a\tb" << control.arg("U+0009");
        QTest::newRow("BEL") << "a\ab" << control.arg("U+0007");
        QTest::newRow("ESC sequence") << "\x1b[31mred" << control.arg("U+001B");
        QTest::newRow("DEL") << "a\x7f" << control.arg("U+007F");
        QTest::newRow("NEL") << QString(QChar(0x85)) << control.arg("U+0085");
        QTest::newRow("line separator") << QString(QChar(0x2028)) << control.arg("U+2028");
        QTest::newRow("paragraph separator") << QString(QChar(0x2029)) << control.arg("U+2029");
        QTest::newRow("right-to-left override") << "ab" + QString(QChar(0x202E)) << control.arg("U+202E");
        QTest::newRow("right-to-left isolate") << QString(QChar(0x2067)) << control.arg("U+2067");
        QTest::newRow("soft hyphen") << "a" + QString(QChar(0xAD)) + "b" << control.arg("U+00AD");
        QTest::newRow("zero-width space") << QString(QChar(0x200B)) << control.arg("U+200B");
        QTest::newRow("half a pair") << QString(QChar(0xD83D)) << control.arg("U+D83D");
        QTest::newRow("Greek") << QString::fromUtf8("\xCE\xA9mega")
                               << outside.arg(QChar(0x3A9)).arg("U+03A9");
        QTest::newRow("euro") << QString(QChar(0x20AC)) << outside.arg(QChar(0x20AC)).arg("U+20AC");
        const QString smile = QString::fromUtf8("\xF0\x9F\x98\x80");
        QTest::newRow("beyond U+FFFF") << "a" + smile << outside.arg(smile).arg("U+1F600");
    }

    void refusal() {
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QCOMPARE(LedName::Refusal(name).value_or(QString()), refusal);
        char field[50] = "OLDNAME";
        QCOMPARE(LedName::Store(name, field), refusal.isEmpty() && name.size() <= LedName::kMaxLength);
    }

    void storeRefusesFieldTooSmall() {
        char field[5] = "OLD";
        QVERIFY(!LedName::Store(QStringLiteral("ABCDE"), field));
        QCOMPARE(QByteArray(field), QByteArray("OLD"));
        QVERIFY(LedName::Store(QStringLiteral("ABCD"), field));
        QCOMPARE(QByteArray(field), QByteArray("ABCD"));
    }

    void fromNarrowStopsAtFieldEnd() {
        struct {
            char name[4];
            char after[4];
        } record = {{'A', 'B', 'C', 'D'}, {'E', 'F', 'G', '\0'}};
        QCOMPARE(LedName::FromNarrow(record.name), QStringLiteral("ABCD"));
        // An empty field, even one without storage, reads as no name.
        QCOMPARE(LedName::FromNarrow(nullptr, 0), QString());
    }
};

QTEST_APPLESS_MAIN(EntryParsingTest)
#include "tst_entryparsing.moc"
