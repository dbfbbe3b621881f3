// Texts the panel makes from values alone, checked without a panel: the intensity as the main
// screen writes it, and the window menu's items from their texts.
#include "MainScreen.h"
#include "WindowMenu.h"

#include <QtTest>

using Items = std::vector<WindowMenu::Item>;
Q_DECLARE_METATYPE(WindowMenu::Texts)

namespace {

// "|" for a separator, then the command in hex and the text: "|0x10 &About…".
QStringList Describe(const Items& items) {
    QStringList lines;
    for (const WindowMenu::Item& item : items) {
        lines << QStringLiteral("%1%2 %3")
                     .arg(item.separatorBefore ? QStringLiteral("|") : QString())
                     .arg(QStringLiteral("0x%1").arg(item.command, 0, 16))
                     .arg(item.text);
    }
    return lines;
}

}  // namespace

class PanelTextsTest : public QObject {
    Q_OBJECT

private slots:
    void intensityTexts_data() {
        QTest::addColumn<int>("intensity");
        QTest::addColumn<QString>("text");
        QTest::newRow("full") << 1000 << "100.0%";
        QTest::newRow("lowest step") << 5 << "0.5%";
        QTest::newRow("a third") << 333 << "33.3%";
        QTest::newRow("typed 100.1") << 1001 << "100.1%";
        QTest::newRow("off") << 0 << "0.0%";
    }

    void intensityTexts() {
        QFETCH(int, intensity);
        QFETCH(QString, text);
        QCOMPARE(MainScreen::IntensityText(static_cast<uint16_t>(intensity)), text);
    }

    void items_data() {
        QTest::addColumn<WindowMenu::Texts>("texts");
        QTest::addColumn<QStringList>("items");
        const WindowMenu::Texts all = WindowMenu::DefaultTexts();
        QTest::newRow("all four") << all
                                  << QStringList{"0x40 &ORVANE Website",
                                                 "|0x10 &About ORVANE Control Panel...", "|0x80 &Demo Loop",
                                                 "|0x100 Allow &scripting"};
        QTest::newRow("no web page text")
            << WindowMenu::Texts{QString(), all.about, all.demoLoop, all.allowScripting}
            << QStringList{"|0x10 &About ORVANE Control Panel...", "|0x80 &Demo Loop",
                           "|0x100 Allow &scripting"};
        QTest::newRow("no About text")
            << WindowMenu::Texts{all.webPage, QString(), all.demoLoop, all.allowScripting}
            << QStringList{"0x40 &ORVANE Website", "|0x80 &Demo Loop", "|0x100 Allow &scripting"};
        QTest::newRow("no scripting text")
            << WindowMenu::Texts{all.webPage, all.about, all.demoLoop, QString()}
            << QStringList{"0x40 &ORVANE Website", "|0x10 &About ORVANE Control Panel...",
                           "|0x80 &Demo Loop"};
        QTest::newRow("none") << WindowMenu::Texts{} << QStringList{};
    }

    void items() {
        QFETCH(WindowMenu::Texts, texts);
        QFETCH(QStringList, items);
        QCOMPARE(Describe(WindowMenu::Items(texts)), items);
    }
};

QTEST_GUILESS_MAIN(PanelTextsTest)
#include "tst_paneltexts.moc"
