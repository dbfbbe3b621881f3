#include "CError.h"
#include "CTextEntry.h"
#include "LedName.h"
#include "NumberEntry.h"
#include "QtPrompts.h"
#include "ScriptedPrompts.h"

#include <QApplication>
#include <QCommandLinkButton>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QWindow>
#include <QtTest>

namespace {

enum class Close { OkButton, EnterKey, CancelButton, EscapeKey };

// Notes whether the entry dialog was still on screen when its error message came up.
class WatchingPrompts : public ScriptedPrompts {
public:
    QWidget* watched = nullptr;
    QList<bool> watchedVisible;

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override {
        watchedVisible.append(watched && watched->isVisible());
        return ScriptedPrompts::message(text, title, buttons, icon);
    }
};

// Types into the field as a user would: the opening text is selected, so typing replaces it and
// an empty text is a Backspace over the selection.
void typeInto(QLineEdit* field, const QString& typed) {
    if (typed.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
        return;
    }
    for (const char32_t c : typed.toUcs4()) {
        if (c < 0x80) {
            QTest::keyClick(field, static_cast<char>(c));
        } else {
            // Key events carry other characters only as their text, the way an input method sends them.
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
            QApplication::sendEvent(field, &press);
        }
    }
}

void closeWith(QDialog& dialog, QLineEdit* field, QPushButton* ok, QPushButton* cancel, Close close) {
    switch (close) {
        case Close::OkButton:
            QTest::mouseClick(ok, Qt::LeftButton);
            break;
        case Close::EnterKey:
            QTest::keyClick(field, Qt::Key_Return);
            break;
        case Close::CancelButton:
            QTest::mouseClick(cancel, Qt::LeftButton);
            break;
        case Close::EscapeKey:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
    }
}

// Runs body once the next modal dialog is up, inside its loop. A dialog the body fails to close
// is ended after a while, so the test fails instead of hanging.
void whenModal(std::function<void(QWidget*)> body) {
    QTimer::singleShot(0, [body] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal) {
            QTimer::singleShot(5000, modal, [modal] {
                if (modal->isVisible()) {
                    static_cast<QDialog*>(modal)->done(-1);
                }
            });
        }
        body(modal);
    });
}

const QString kInvalidCharacter = QString::fromLatin1(NumberEntry::kInvalidCharacterText);
const QString kInvalidLength = QString::fromLatin1(NumberEntry::kInvalidLengthText);

}  // namespace

Q_DECLARE_METATYPE(Close)
Q_DECLARE_METATYPE(Prompts::FavouriteOption)

class EntryDialogsTest : public QObject {
    Q_OBJECT

private slots:
    void numberEntryLooksAsAsked() {
        ScriptedPrompts prompts;
        NumberEntry dialog(prompts);
        dialog.m_decimalMode = 1;
        dialog.m_decimalValue = 55.5f;
        dialog.show();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Entry"));
        QVERIFY(dialog.findChild<QLabel*>()->text() == QStringLiteral("Enter a Number:"));
        QCOMPARE(dialog.valueEdit()->text(), QStringLiteral("55.5"));
        QCOMPARE(dialog.valueEdit()->selectedText(), QStringLiteral("55.5"));
        QVERIFY(dialog.okButton()->isDefault());
        QVERIFY(!dialog.cancelButton()->isDefault());
    }

    void numberEntryTyped_data() {
        QTest::addColumn<bool>("decimalMode");
        QTest::addColumn<QString>("typed");  // null: nothing typed
        QTest::addColumn<Close>("close");
        QTest::addColumn<int>("result");
        QTest::addColumn<float>("decimalValue");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("entered");
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("entryVisibleDuringMessage");

        const int ok = QDialog::Accepted;
        const int cancelled = QDialog::Rejected;
        // Every row opens with 55.5 and 1234.
        QTest::newRow("37.3, OK") << true << "37.3" << Close::OkButton << ok << 37.35f << 1234 << true << ""
                                  << false;
        QTest::newRow("37.3, Enter") << true << "37.3" << Close::EnterKey << ok << 37.35f << 1234 << true
                                     << "" << false;
        QTest::newRow("37.3, Cancel")
            << true << "37.3" << Close::CancelButton << cancelled << 55.5f << 1234 << false << "" << false;
        QTest::newRow("37.3, Escape")
            << true << "37.3" << Close::EscapeKey << cancelled << 55.5f << 1234 << false << "" << false;
        // The number shown may be out of date by the time OK is pressed: nothing is entered.
        QTest::newRow("unchanged, OK")
            << true << QString() << Close::OkButton << ok << 55.5f << 1234 << false << "" << false;
        QTest::newRow("unchanged, Enter, integer")
            << false << QString() << Close::EnterKey << ok << 55.5f << 1234 << false << "" << false;
        QTest::newRow("the same digits typed again, OK")
            << true << "55.5" << Close::OkButton << ok << 55.55f << 1234 << true << "" << false;
        QTest::newRow("empty, OK") << true << "" << Close::OkButton << ok << 0.05f << 1234 << true << ""
                                   << false;
        QTest::newRow("70000, OK: the largest number")
            << false << "70000" << Close::OkButton << ok << 55.5f << 65535 << true << "" << false;
        QTest::newRow("-5, OK") << true << "-5" << Close::OkButton << cancelled << 55.5f << 1234 << false
                                << kInvalidCharacter << false;
        QTest::newRow("'5 ', Enter") << false << "5 " << Close::EnterKey << cancelled << 55.5f << 1234
                                     << false << kInvalidCharacter << false;
        QTest::newRow("20 characters, OK") << false << "12345678901234567890" << Close::OkButton << ok
                                           << 55.5f << 1234 << false << kInvalidLength << true;
    }

    void numberEntryTyped() {
        QFETCH(bool, decimalMode);
        QFETCH(QString, typed);
        QFETCH(Close, close);
        QFETCH(int, result);
        QFETCH(float, decimalValue);
        QFETCH(int, value);
        QFETCH(bool, entered);
        QFETCH(QString, message);
        QFETCH(bool, entryVisibleDuringMessage);

        WatchingPrompts prompts;
        NumberEntry dialog(prompts);
        prompts.watched = &dialog;
        dialog.m_decimalMode = decimalMode ? 1 : 0;
        dialog.m_decimalValue = 55.5f;
        dialog.m_value = 1234;
        dialog.m_entered = true;  // from an earlier opening
        dialog.open();

        if (!typed.isNull()) {
            typeInto(dialog.valueEdit(), typed);
        }
        closeWith(dialog, dialog.valueEdit(), dialog.okButton(), dialog.cancelButton(), close);

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(dialog.m_decimalValue, decimalValue);
        QCOMPARE(int(dialog.m_value), value);
        QCOMPARE(dialog.m_entered, entered);
        if (message.isEmpty()) {
            QVERIFY(prompts.shown.isEmpty());
        } else {
            QCOMPARE(prompts.shown.size(), 1);
            QCOMPARE(prompts.shown[0].text, message);
            QCOMPARE(prompts.shown[0].title, QStringLiteral("Error"));
            QCOMPARE(prompts.watchedVisible, QList<bool>{entryVisibleDuringMessage});
        }
    }

    void numberEntryReopensWithWhatWasTyped() {
        ScriptedPrompts prompts;
        NumberEntry dialog(prompts);
        dialog.m_decimalMode = 1;
        dialog.m_decimalValue = 55.5f;
        dialog.open();
        typeInto(dialog.valueEdit(), QStringLiteral("37.3"));
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);

        dialog.open();
        QCOMPARE(dialog.valueEdit()->text(), QStringLiteral("37.3"));
        dialog.reject();
    }

    void textEntryCaption_data() {
        QTest::addColumn<int>("unitVersion");
        QTest::addColumn<QString>("caption");

        QTest::newRow("version 139") << 139 << "Text Entry";
        QTest::newRow("version 140") << 140 << "WaveLength Range: 450-490nm";
        QTest::newRow("version 141") << 141 << "WaveLength Range: 450-490nm";
    }

    void textEntryCaption() {
        QFETCH(int, unitVersion);
        QFETCH(QString, caption);

        CTextEntry dialog;
        dialog.m_name = QStringLiteral("Blue");
        dialog.m_rangeLow = 450;
        dialog.m_rangeHigh = 490;
        dialog.m_unitVersion = static_cast<uint16_t>(unitVersion);
        dialog.show();
        QCOMPARE(dialog.windowTitle(), caption);
        QCOMPARE(dialog.findChild<QLabel*>()->text(), QStringLiteral("Enter LED Text Name:"));
        QCOMPARE(dialog.nameEdit()->text(), QStringLiteral("Blue"));
        QCOMPARE(dialog.useWavelengthButton()->text(), QStringLiteral("Use Wavelength as Name"));
        QVERIFY(dialog.okButton()->isDefault());
    }

    void textEntryTyped_data() {
        QTest::addColumn<QString>("opening");
        QTest::addColumn<bool>("useWavelength");
        QTest::addColumn<QString>("typed");  // null: nothing typed
        QTest::addColumn<Close>("close");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("entered");

        const int ok = QDialog::Accepted;
        const int cancelled = QDialog::Rejected;
        QTest::newRow("ten letters, OK")
            << "Blue" << false << "ABCDEFGHIJ" << Close::OkButton << ok << "ABCDEFGH" << true;
        QTest::newRow("ten letters, Cancel")
            << "Blue" << false << "ABCDEFGHIJ" << Close::CancelButton << cancelled << "Blue" << false;
        QTest::newRow("long unit name, Cancel")
            << "LONGUNITNAME" << false << "" << Close::EscapeKey << cancelled << "LONGUNITNAME" << false;
        // Cut to eight it would be another name: an unchanged name is not entered.
        QTest::newRow("long unit name, OK unchanged")
            << "Violet 405" << false << QString() << Close::OkButton << ok << "Violet 405" << false;
        QTest::newRow("unchanged, Enter")
            << "Blue" << false << QString() << Close::EnterKey << ok << "Blue" << false;
        QTest::newRow("the same name typed again, OK")
            << "Blue" << false << "Blue" << Close::OkButton << ok << "Blue" << true;
        QTest::newRow("wavelength, OK")
            << "Blue" << true << QString() << Close::OkButton << ok << "405nm" << true;
        // Enter after the wavelength button still means OK.
        QTest::newRow("wavelength, Enter")
            << "Blue" << true << QString() << Close::EnterKey << ok << "405nm" << true;
        QTest::newRow("wavelength on a name that is the wavelength, OK")
            << "405nm" << true << QString() << Close::OkButton << ok << "405nm" << true;
        QTest::newRow("wavelength, Cancel")
            << "Blue" << true << QString() << Close::CancelButton << cancelled << "Blue" << false;
        QTest::newRow("empty, OK") << "Blue" << false << "" << Close::OkButton << ok << "" << true;
        QTest::newRow("Latin-1, OK") << "Blue" << false << QString::fromUtf8("Gr\xC3\xBCn-nine")
                                     << Close::OkButton << ok << QString::fromUtf8("Gr\xC3\xBCn-nin") << true;
    }

    void textEntryTyped() {
        QFETCH(QString, opening);
        QFETCH(bool, useWavelength);
        QFETCH(QString, typed);
        QFETCH(Close, close);
        QFETCH(int, result);
        QFETCH(QString, name);
        QFETCH(bool, entered);

        CTextEntry dialog;
        dialog.m_name = opening;
        dialog.m_wavelength = 405;
        dialog.m_entered = true;  // from an earlier opening
        dialog.open();

        if (useWavelength) {
            QTest::mouseClick(dialog.useWavelengthButton(), Qt::LeftButton);
            QVERIFY(dialog.isVisible());
            QCOMPARE(dialog.nameEdit()->text(), QStringLiteral("405nm"));
        }
        if (!typed.isNull()) {
            typeInto(dialog.nameEdit(), typed);
        }
        // After a click on the wavelength button, Enter goes to that button.
        if (useWavelength && close == Close::EnterKey) {
            QTest::keyClick(dialog.useWavelengthButton(), Qt::Key_Return);
        } else {
            closeWith(dialog, dialog.nameEdit(), dialog.okButton(), dialog.cancelButton(), close);
        }

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), result);
        QCOMPARE(dialog.m_name, name);
        QCOMPARE(dialog.m_entered, entered);
    }

    // What the panel cannot keep as written is not taken: OK says why under the field and leaves
    // the dialog open with the name as it was; put right, the text is taken.
    void textEntryRefusesWhatThePanelCannotKeep_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("pasted");
        QTest::addColumn<QString>("refusal");

        const QString control =
            QStringLiteral("a name cannot hold control, line-break or text-direction characters (%1)");
        QTest::newRow("Greek typed") << QString::fromUtf8("\xCE\xA9mega") << false
                                     << QString::fromUtf8(
                                            "a name can hold only Latin-1 characters, not "
                                            "\"\xCE\xA9\" (U+03A9)");
        QTest::newRow("right-to-left override typed")
            << "ab" + QString(QChar(0x202E)) + "cd" << false << control.arg("U+202E");
        QTest::newRow("lines pasted") << "a\nok\nb" << true << control.arg("U+000A");
        QTest::newRow("escape sequence pasted") << "\x1b[31mX" << true << control.arg("U+001B");
        // Only the first eight characters count, as on OK.
        QTest::newRow("Greek past the eighth character")
            << QString::fromUtf8("ABCDEFGH\xCE\xA9") << false << QString();
    }

    void textEntryRefusesWhatThePanelCannotKeep() {
        QFETCH(QString, text);
        QFETCH(bool, pasted);
        QFETCH(QString, refusal);

        CTextEntry dialog;
        dialog.m_name = QStringLiteral("Blue");
        dialog.open();
        QVERIFY(!dialog.refusalLabel()->isVisible());
        if (pasted) {
            dialog.nameEdit()->setText(text);
        } else {
            typeInto(dialog.nameEdit(), text);
        }
        QCOMPARE(dialog.nameEdit()->text(), text);
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
        if (refusal.isEmpty()) {
            QVERIFY(!dialog.isVisible());
            QCOMPARE(dialog.m_name, LedName::Cut(text));
            return;
        }
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.m_name, QStringLiteral("Blue"));
        QVERIFY(dialog.refusalLabel()->isVisible());
        QCOMPARE(dialog.refusalLabel()->text(), refusal);
        // The whole message shows.
        QVERIFY(dialog.size().height() >= dialog.sizeHint().height());
        QVERIFY(dialog.refusalLabel()->height() >=
                dialog.refusalLabel()->heightForWidth(dialog.refusalLabel()->width()));

        dialog.nameEdit()->setText(QStringLiteral("Green"));
        QTest::keyClick(dialog.nameEdit(), Qt::Key_Return);
        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.m_name, QStringLiteral("Green"));
        // Opened again, the dialog starts without the message.
        dialog.open();
        QVERIFY(!dialog.refusalLabel()->isVisible());
        dialog.reject();
    }

    // What the panel does with a name after the dialog: the 8-bit field holds the typed name or,
    // when the name cannot be stored, keeps what it had.
    void textEntryIntoChannelField_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QByteArray>("field");

        QTest::newRow("Latin-1, OK") << QString::fromUtf8("\xC3\xA9t\xC3\xA9") << true
                                     << QByteArray("\xE9t\xE9");
        // Never "?A?BCDEF": what cannot be kept is not taken.
        QTest::newRow("Greek and a pair, OK") << QString::fromUtf8(
                                                     "\xCE\xA9"
                                                     "A\xF0\x9F\x98\x80"
                                                     "BCDEFGH")
                                              << true << QByteArray("LONGUNITNAME");
        QTest::newRow("Cancel keeps the long unit name") << "XYZ" << false << QByteArray("LONGUNITNAME");
    }

    void textEntryIntoChannelField() {
        QFETCH(QString, typed);
        QFETCH(bool, ok);
        QFETCH(QByteArray, field);

        char channelName[50] = "LONGUNITNAME";
        ScriptedPrompts prompts;
        prompts.entries.append({typed, ok, false});
        CTextEntry dialog;
        dialog.m_name = LedName::FromNarrow(channelName);
        prompts.runTextEntry(dialog);
        LedName::Store(dialog.m_name, channelName);
        QCOMPARE(QByteArray(channelName), field);
    }

    // The double runs the dialogs' own OK code, so panel tests see the same fields and messages.
    void scriptedPromptsRunTheDialogsCode() {
        ScriptedPrompts prompts;
        prompts.entries = {{QStringLiteral("37.3"), true, false},
                           {QStringLiteral("-5"), true, false},
                           {std::nullopt, true, true},
                           {QStringLiteral("ABCDEFGHIJ"), false, false}};

        NumberEntry number(prompts);
        number.m_decimalMode = 1;
        number.m_decimalValue = 55.5f;
        prompts.runNumberEntry(number);
        QCOMPARE(number.m_decimalValue, 37.35f);
        QCOMPARE(number.result(), int(QDialog::Accepted));
        prompts.runNumberEntry(number);
        QCOMPARE(number.m_decimalValue, 37.35f);
        QCOMPARE(number.result(), int(QDialog::Rejected));
        QCOMPARE(prompts.texts(), QStringList{kInvalidCharacter});

        CTextEntry text;
        text.m_name = QStringLiteral("Blue");
        text.m_wavelength = 470;
        text.m_unitVersion = 140;
        text.m_rangeLow = 460;
        text.m_rangeHigh = 480;
        prompts.runTextEntry(text);
        QCOMPARE(text.m_name, QStringLiteral("470nm"));
        prompts.runTextEntry(text);
        QCOMPARE(text.m_name, QStringLiteral("470nm"));
        QCOMPARE(text.result(), int(QDialog::Rejected));

        // Nothing scripted: cancelled untouched.
        prompts.runNumberEntry(number);
        QCOMPARE(number.m_decimalValue, 37.35f);
        QCOMPARE(number.result(), int(QDialog::Rejected));

        QCOMPARE(prompts.entriesShown.size(), 5);
        QCOMPARE(prompts.entriesShown[0].caption, QStringLiteral("Entry"));
        QCOMPARE(prompts.entriesShown[0].fieldText, QStringLiteral("55.5"));
        QCOMPARE(prompts.entriesShown[1].fieldText, QStringLiteral("37.3"));
        QCOMPARE(prompts.entriesShown[2].caption, QStringLiteral("WaveLength Range: 460-480nm"));
        QCOMPARE(prompts.entriesShown[2].fieldText, QStringLiteral("Blue"));
        QCOMPARE(prompts.entriesShown[3].fieldText, QStringLiteral("470nm"));

        CError popup;
        prompts.showError(popup, 1);
        QCOMPARE(prompts.errors, QList<uint8_t>{1});
        QCOMPARE(int(popup.m_messageCode), 1);
    }

    void qtPromptsRunTheRealDialogsModally() {
        QtPrompts prompts;

        NumberEntry number(prompts);
        number.m_decimalMode = 0;
        number.m_value = 7;
        QString shown;
        whenModal([&shown](QWidget* modal) {
            auto* dialog = qobject_cast<NumberEntry*>(modal);
            QVERIFY(dialog);
            shown = dialog->valueEdit()->text();
            QTest::keyClicks(dialog->valueEdit(), QStringLiteral("300"));
            QTest::keyClick(dialog->valueEdit(), Qt::Key_Enter);
        });
        prompts.runNumberEntry(number);
        QCOMPARE(shown, QStringLiteral("7"));
        QCOMPARE(number.result(), int(QDialog::Accepted));
        QCOMPARE(int(number.m_value), 300);

        CTextEntry text;
        text.m_name = QStringLiteral("Blue");
        text.m_wavelength = 590;
        whenModal([](QWidget* modal) {
            auto* dialog = qobject_cast<CTextEntry*>(modal);
            QVERIFY(dialog);
            QTest::mouseClick(dialog->useWavelengthButton(), Qt::LeftButton);
            QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        });
        prompts.runTextEntry(text);
        QCOMPARE(text.result(), int(QDialog::Accepted));
        QCOMPARE(text.m_name, QStringLiteral("590nm"));

        CError popup;
        whenModal([](QWidget* modal) {
            auto* shownPopup = qobject_cast<CError*>(modal);
            QVERIFY(shownPopup);
            QCOMPARE(int(shownPopup->m_messageCode), 1);
            QTest::mouseClick(shownPopup, Qt::LeftButton, {}, QPoint(200, 166));
        });
        prompts.showError(popup, 1);
        QCOMPARE(popup.result(), int(QDialog::Rejected));
        QVERIFY(!popup.isVisible());
    }

    // When the unit goes, whatever is open closes, innermost first, each as if dismissed: nothing
    // the user typed or chose comes back. Later questions still show, until closed for good.
    void qtPromptsCloseEveryOpenDialogUnapplied() {
        QWidget window;
        QtPrompts prompts(&window);
        QDialog outer(&window);
        NumberEntry number(prompts, &window);
        number.m_decimalMode = 0;
        number.m_value = 7;
        int openWhenClosing = 0;
        std::optional<Prompts::FavouriteOption> option;
        std::optional<QString> path;
        std::optional<Prompts::Answer> answer;
        whenModal([&](QWidget*) {
            whenModal([&](QWidget* entry) {
                QTest::keyClicks(static_cast<NumberEntry*>(entry)->valueEdit(), QStringLiteral("300"));
                whenModal([&](QWidget*) {
                    whenModal([&](QWidget*) {
                        whenModal([&](QWidget*) {
                            for (QWidget* widget : QApplication::topLevelWidgets()) {
                                openWhenClosing += widget->isVisible() ? 1 : 0;
                            }
                            prompts.closeOpenDialogs(Prompts::Closing::KeepAsking);
                        });
                        answer = prompts.message(QStringLiteral("Keep it?"), QStringLiteral("Question"),
                                                 Prompts::Buttons::YesNo, Prompts::Icon::Question);
                    });
                    path = prompts.saveFileName(QStringLiteral("Text (*.txt)"));
                });
                option = prompts.favouriteOptions();
            });
            prompts.runNumberEntry(number);
        });
        QCOMPARE(prompts.runModal(outer), int(QDialog::Rejected));

        QCOMPARE(openWhenClosing, 5);
        QCOMPARE(answer, std::optional<Prompts::Answer>(Prompts::Answer::No));
        QCOMPARE(path, std::optional<QString>(QString()));
        QCOMPARE(option, std::optional<Prompts::FavouriteOption>(Prompts::FavouriteOption::Cancel));
        QCOMPARE(number.result(), int(QDialog::Rejected));
        QCOMPARE(int(number.m_value), 7);
        QVERIFY(QApplication::activeModalWidget() == nullptr);

        // The message about it and the save question still come.
        whenModal([](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
        });
        QCOMPARE(prompts.message(QStringLiteral("Save?"), QStringLiteral("Save"), Prompts::Buttons::YesNo,
                                 Prompts::Icon::Question),
                 Prompts::Answer::Yes);

        // Once the panel has ended, nothing shows any more.
        prompts.closeOpenDialogs(Prompts::Closing::ForGood);
        bool shown = false;
        whenModal([&shown](QWidget* modal) { shown = modal != nullptr; });
        QCOMPARE(prompts.message(QStringLiteral("Late"), QStringLiteral("Late"), Prompts::Buttons::YesNo,
                                 Prompts::Icon::Question),
                 Prompts::Answer::No);
        number.m_value = 7;
        prompts.runNumberEntry(number);
        QCOMPARE(number.result(), int(QDialog::Rejected));
        QCOMPARE(prompts.openFileName(QStringLiteral("Text (*.txt)")), QString());
        QTest::qWait(20);
        QVERIFY(!shown);
    }

    // A key held down repeats into whichever window has the keyboard next: in a dialog, a key's
    // repeats act only when it went down there; a fresh press acts as always.
    void heldKeysRepeatOnlyWhereTheyWentDown() {
        QtPrompts prompts;
        NumberEntry number(prompts);
        number.m_decimalMode = 0;
        QStringList texts;
        bool stillOpen = false;
        whenModal([&](QWidget* modal) {
            auto* entry = qobject_cast<NumberEntry*>(modal);
            QVERIFY(entry);
            QWindow* window = entry->windowHandle();
            const auto key = [&](QEvent::Type type, int code, const char* text, bool repeat, ulong time) {
                QKeyEvent event(type, code, Qt::NoModifier, QString::fromLatin1(text), repeat);
                event.setTimestamp(time);
                QGuiApplication::sendEvent(window, &event);
                texts << entry->valueEdit()->text();
            };
            entry->valueEdit()->setText(QStringLiteral("12345"));
            // Escape went down in the panel and repeats here, marked or not: the entry stays.
            key(QEvent::KeyPress, Qt::Key_Escape, "", true, 0);
            key(QEvent::KeyRelease, Qt::Key_Escape, "", false, 500);
            key(QEvent::KeyPress, Qt::Key_Escape, "", false, 500);
            key(QEvent::KeyPress, Qt::Key_6, "6", true, 520);
            // Backspace pressed here repeats here, marked or only by its time.
            key(QEvent::KeyPress, Qt::Key_Backspace, "", false, 600);
            key(QEvent::KeyPress, Qt::Key_Backspace, "", true, 640);
            key(QEvent::KeyRelease, Qt::Key_Backspace, "", false, 680);
            key(QEvent::KeyPress, Qt::Key_Backspace, "", false, 680);
            stillOpen = entry->isVisible();
            // A fresh Escape closes it.
            key(QEvent::KeyPress, Qt::Key_Escape, "", false, 900);
        });
        prompts.runNumberEntry(number);
        QVERIFY(stillOpen);
        QCOMPARE(texts, (QStringList{"12345", "12345", "12345", "12345", "1234", "123", "123", "12", "12"}));
        QCOMPARE(number.result(), int(QDialog::Rejected));
    }

    void qtPromptsAskTheFavouriteOptions_data() {
        QTest::addColumn<QString>("link");  // empty: Escape
        QTest::addColumn<Prompts::FavouriteOption>("answer");
        QTest::newRow("Save") << "Save" << Prompts::FavouriteOption::Save;
        QTest::newRow("Load") << "Load" << Prompts::FavouriteOption::Load;
        QTest::newRow("Delete") << "Delete" << Prompts::FavouriteOption::Delete;
        QTest::newRow("Cancel") << "Cancel" << Prompts::FavouriteOption::Cancel;
        QTest::newRow("Escape") << "" << Prompts::FavouriteOption::Cancel;
    }

    // Title, instruction and content, then the four command links in their order.
    void qtPromptsAskTheFavouriteOptions() {
        QFETCH(QString, link);
        QFETCH(Prompts::FavouriteOption, answer);
        QWidget window;
        QtPrompts prompts(&window);
        QStringList texts;
        whenModal([&](QWidget* modal) {
            QVERIFY(modal);
            QCOMPARE(modal->parentWidget(), &window);
            texts << modal->windowTitle();
            for (const QLabel* label : modal->findChildren<QLabel*>()) {
                texts << label->text();
            }
            QCommandLinkButton* chosen = nullptr;
            for (QCommandLinkButton* button : modal->findChildren<QCommandLinkButton*>()) {
                texts << button->text();
                if (button->text() == link) {
                    chosen = button;
                }
            }
            if (chosen) {
                QTest::mouseClick(chosen, Qt::LeftButton);
            } else {
                QTest::keyClick(modal, Qt::Key_Escape);
            }
        });
        QCOMPARE(prompts.favouriteOptions(), answer);
        QCOMPARE(texts, (QStringList{"Options", "Please Save/Load/Delete", "Select Option", "Save", "Load",
                                     "Delete", "Cancel"}));
    }
};

QTEST_MAIN(EntryDialogsTest)
#include "tst_entrydialogs.moc"
