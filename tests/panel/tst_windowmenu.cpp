// The window menu of the real panel: its items, the command handler with its mask, the popup
// menu on the right button and Alt+Space, the About box and the web page.
#include "CAboutDlg.h"
#include "CDemo.h"
#include "ColourButton.h"
#include "ScreenStates.h"
#include "SimulatedPanelTest.h"
#include "WindowMenu.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
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

QStringList Describe(const QMenu& menu) {
    QStringList lines;
    bool separator = false;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            separator = true;
            continue;
        }
        lines << (separator ? QStringLiteral("|") : QString()) + action->text();
        separator = false;
    }
    return lines;
}

}  // namespace

class WindowMenuTest : public SimulatedPanelTest {
    Q_OBJECT

private:
    WindowMenu& menu() { return dialog().windowMenu(); }

    void settle() override {
        SimulatedPanelTest::settle();
        opened_.clear();
        menu().SetUrlOpener([this](const QUrl& url) {
            opened_ << url.toString();
            return browserStarts_;
        });
        browserStarts_ = true;
    }

    QStringList opened_;
    bool browserStarts_ = true;

private slots:
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

    void commandsIgnoreTheirLowBits_data() {
        QTest::addColumn<unsigned>("command");
        QTest::addColumn<bool>("handled");
        QTest::addColumn<QStringList>("modals");
        QTest::addColumn<int>("pagesOpened");
        const QStringList about{CAboutDlg::kCaption};
        const QStringList demo{QStringLiteral("Demo Loop Setting")};
        QTest::newRow("0x40 web page") << 0x40u << true << QStringList{} << 1;
        QTest::newRow("0x4A web page") << 0x4Au << true << QStringList{} << 1;
        QTest::newRow("0x10 About") << 0x10u << true << about << 0;
        QTest::newRow("0x1F About") << 0x1Fu << true << about << 0;
        QTest::newRow("0x80 demo loop") << 0x80u << true << demo << 0;
        QTest::newRow("0x8C demo loop") << 0x8Cu << true << demo << 0;
        QTest::newRow("0x0F nothing") << 0x0Fu << false << QStringList{} << 0;
        QTest::newRow("0xF060 the window's close") << 0xF060u << false << QStringList{} << 0;
        QTest::newRow("0x50 is not 0x40") << 0x50u << false << QStringList{} << 0;
    }

    void commandsIgnoreTheirLowBits() {
        QFETCH(unsigned, command);
        QFETCH(bool, handled);
        QFETCH(QStringList, modals);
        QFETCH(int, pagesOpened);
        QCOMPARE(menu().HandleSystemCommand(command), handled);
        QCOMPARE(panel_->prompts.modalsShown, modals);
        QCOMPARE(opened_.size(), pagesOpened);
        QVERIFY(!dialog().hasEnded());
    }

    void aboutShowsTheVersion() {
        QString version;
        QString second;
        panel_->prompts.whileModal = [&](QDialog& shown) {
            auto& about = static_cast<CAboutDlg&>(shown);
            version = about.versionLabel()->text();
            second = about.secondLabel()->text();
            QTest::mouseClick(about.okButton(), Qt::LeftButton);
            QVERIFY(!about.isVisible());
            QCOMPARE(about.result(), int(QDialog::Accepted));
        };
        menu().HandleSystemCommand(WindowMenu::kAbout);
        QCOMPARE(panel_->prompts.modalsShown,
                 QStringList{QStringLiteral("About Kynex ORVANE Control Panel")});
        QCOMPARE(version, QStringLiteral("ORVANE Control Panel, Version 1.1.1.0"));
        QVERIFY(!second.isEmpty());
    }

    void webPage_data() {
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("browser starts") << true << QStringList{};
        QTest::newRow("no browser") << false << QStringList{"Default Browser Cannot Be Opened!"};
    }

    void webPage() {
        QFETCH(bool, starts);
        QFETCH(QStringList, messages);
        browserStarts_ = starts;
        menu().HandleSystemCommand(WindowMenu::kWebPage);
        QCOMPARE(opened_, QStringList{WindowMenu::kWebPageAddress});
        QCOMPARE(panel_->prompts.texts(), messages);
        if (!messages.isEmpty()) {
            QCOMPARE(panel_->prompts.shown.first().title, QStringLiteral("Error"));
        }
    }

    void popupOnTheRightButtonAndAltSpace() {
        QMenu* popup = menu().popupMenu();
        QVERIFY(popup != nullptr);
        QCOMPARE(Describe(*popup),
                 (QStringList{"&ORVANE Website", "|&About ORVANE Control Panel...", "|&Demo Loop"}));

        QContextMenuEvent rightButton(QContextMenuEvent::Mouse, QPoint(700, 200),
                                      dialog().mapToGlobal(QPoint(700, 200)));
        QApplication::sendEvent(&dialog(), &rightButton);
        QVERIFY(popup->isVisible());
        popup->hide();

        QTest::keyClick(&dialog(), Qt::Key_Space, Qt::AltModifier);
        QVERIFY(popup->isVisible());
        popup->hide();
        QTest::keyClick(&dialog(), Qt::Key_Space);
        QVERIFY(!popup->isVisible());
    }

    // The same handler runs the popup's commands.
    void popupItemsRunTheirCommands() {
        QMenu* popup = menu().popupMenu();
        QVERIFY(popup != nullptr);
        const QList<QAction*> actions = popup->actions();
        const auto item = [&actions](const QString& text) {
            for (QAction* action : actions) {
                if (action->text() == text) {
                    return action;
                }
            }
            return static_cast<QAction*>(nullptr);
        };
        item(WindowMenu::kWebPageText)->trigger();
        QCOMPARE(opened_.size(), 1);
        item(WindowMenu::kAboutText)->trigger();
        item(WindowMenu::kDemoLoopText)->trigger();
        QCOMPARE(panel_->prompts.modalsShown,
                 (QStringList{"About Kynex ORVANE Control Panel", "Demo Loop Setting"}));
    }

    // After the demo-loop dialog the panel is the active window again, so the keys reach it and
    // Alt+Space opens the menu on top of it.
    void menuOpensFromTheKeyboardAfterTheDemoLoop() {
        dialog().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&dialog()));
        // The save question as a real window: on X the focus falls back to the root window when
        // it closes, and again when the demo dialog does.
        panel_->prompts.whileShown = [](const ScriptedPrompts::Shown&) {
            QMessageBox question(QApplication::activeWindow());
            question.show();
            QVERIFY(QTest::qWaitForWindowActive(&question));
            question.hide();
            QTest::qWait(100);
        };
        panel_->prompts.whileModal = [](QDialog& demo) {
            QVERIFY(QTest::qWaitForWindowActive(&demo));
            QTest::mouseClick(static_cast<CDemo&>(demo).onOffButton(), Qt::LeftButton);
            QTest::mouseClick(static_cast<CDemo&>(demo).onOffButton(), Qt::LeftButton);
            QTest::mouseClick(static_cast<CDemo&>(demo).mainScreenButton(), Qt::LeftButton);
        };
        click(QPoint(600, 380));
        panel_->prompts.whileModal = {};
        panel_->prompts.whileShown = {};
        QVERIFY(QApplication::activeModalWidget() == nullptr ||
                QApplication::activeModalWidget() == &dialog());
        QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(&dialog()));

        QWidget* keys = QApplication::focusWidget() != nullptr ? QApplication::focusWidget()
                                                               : QApplication::activeWindow();
        QVERIFY(keys != nullptr);
        QTest::keyClick(keys, Qt::Key_Space, Qt::AltModifier);
        QMenu* popup = menu().popupMenu();
        QVERIFY(popup->isVisible());
        QCOMPARE(QApplication::activePopupWidget(), static_cast<QWidget*>(popup));
        popup->hide();
    }

    // From the menu the demo loop leaves the screen as it was; DEMO LOOP returns to the main one.
    void demoLoopFromTheMenuKeepsTheScreen() {
        QTest::mouseClick(&dialog(), Qt::LeftButton, {}, QPoint(1300, 380));
        QCOMPARE(dialog().router().ScreenState(), screens::kAlarms);
        QString ch2Name;
        panel_->prompts.whileModal = [this, &ch2Name](QDialog&) { ch2Name = dialog().demoLoop().m_names[1]; };
        menu().HandleSystemCommand(WindowMenu::kDemoLoop);
        QCOMPARE(ch2Name, QStringLiteral("Violet 405"));
        QCOMPARE(dialog().router().ScreenState(), screens::kAlarms);
    }
};

QTEST_MAIN(WindowMenuTest)
#include "tst_windowmenu.moc"
