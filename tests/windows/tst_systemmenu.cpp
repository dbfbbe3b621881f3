// The window menu on Windows: its commands join the window's own system menu, a system command
// reaches the handler whatever its low bits, and "Allow scripting" shows its check there. Runs on
// the windows platform (a real window), not offscreen.
#include "ScriptedPrompts.h"
#include "WindowMenu.h"

#include <QApplication>
#include <QWidget>
#include <QtTest>

#include <windows.h>

namespace {

// The system menu's entries from `first` on: a separator as "|", a checked item with "[x] ".
QStringList Describe(HMENU menu, int first) {
    QStringList lines;
    const int count = GetMenuItemCount(menu);
    for (int i = first; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
        wchar_t text[128] = {};
        info.dwTypeData = text;
        info.cch = 127;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) {
            lines << QStringLiteral("?");
        } else if (info.fType & MFT_SEPARATOR) {
            lines << QStringLiteral("|");
        } else {
            lines << ((info.fState & MFS_CHECKED) ? QStringLiteral("[x] ") : QString()) + QString::fromWCharArray(text);
        }
    }
    return lines;
}

}  // namespace

class SystemMenuTest : public QObject {
    Q_OBJECT

private slots:
    void commandsJoinTheSystemMenuAndRun() {
        QWidget window;
        window.resize(300, 200);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const HWND hwnd = reinterpret_cast<HWND>(window.winId());
        const int ownItems = GetMenuItemCount(GetSystemMenu(hwnd, FALSE));
        QVERIFY(ownItems > 0);

        ScriptedPrompts prompts;
        int demoLoops = 0;
        bool scripting = false;
        WindowMenu menu(window, prompts, [&demoLoops] { ++demoLoops; });
        menu.SetScriptingSwitch([&scripting] { return scripting; }, [&scripting](bool allow) { scripting = allow; });
        menu.Install();
        QVERIFY(menu.popupMenu() == nullptr);

        const HMENU systemMenu = GetSystemMenu(hwnd, FALSE);
        QCOMPARE(Describe(systemMenu, ownItems),
                 QStringList({QString::fromLatin1(WindowMenu::kWebPageText), QStringLiteral("|"),
                              QString::fromLatin1(WindowMenu::kAboutText), QStringLiteral("|"),
                              QString::fromLatin1(WindowMenu::kDemoLoopText), QStringLiteral("|"),
                              QString::fromLatin1(WindowMenu::kAllowScriptingText)}));

        // The system sets the low four bits of a command for its own use.
        SendMessageW(hwnd, WM_SYSCOMMAND, WindowMenu::kDemoLoop | 0x3, 0);
        QCOMPARE(demoLoops, 1);
        SendMessageW(hwnd, WM_SYSCOMMAND, WindowMenu::kAllowScripting, 0);
        QVERIFY(scripting);
        QCOMPARE(Describe(systemMenu, GetMenuItemCount(systemMenu) - 1),
                 QStringList({QStringLiteral("[x] ") + QString::fromLatin1(WindowMenu::kAllowScriptingText)}));
    }
};

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "windows");
    QApplication app(argc, argv);
    SystemMenuTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_systemmenu.moc"
