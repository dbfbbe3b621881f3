#pragma once

#include <QObject>
#include <QString>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class Prompts;
class QMenu;
class QWidget;

// The window menu's own commands: the product's web page, the About box, the demo loop and
// "Allow scripting", which is checked while scripts may act. On
// Windows they join the window's system menu; elsewhere they make a popup menu opened with the
// right button on the window or with Alt+Space. Either way one handler runs them.
class WindowMenu : public QObject {
    Q_OBJECT

public:
    enum Command : unsigned { kAbout = 0x10, kWebPage = 0x40, kDemoLoop = 0x80, kAllowScripting = 0x100 };
    // The platform keeps the low four bits of a system command for itself.
    static constexpr unsigned kCommandMask = 0xFFF0;

    static constexpr const char* kWebPageText = "&ORVANE Website";
    static constexpr const char* kAboutText = "&About ORVANE Control Panel...";
    static constexpr const char* kDemoLoopText = "&Demo Loop";
    static constexpr const char* kAllowScriptingText = "Allow &scripting";
    static constexpr const char* kWebPageAddress = "https://www.varnholt.example/orvane";
    static constexpr const char* kBrowserFailedText = "Default Browser Cannot Be Opened!";
    static constexpr const char* kErrorTitle = "Error";

    struct Texts {
        QString webPage;
        QString about;
        QString demoLoop;
        QString allowScripting;
    };
    static Texts DefaultTexts();
    struct Item {
        bool separatorBefore;
        unsigned command;
        QString text;
        bool checkable = false;
    };
    // What follows the window's own items, in order: the web page directly, About, the demo
    // loop and "Allow scripting" each after a separator. An empty text adds neither its item
    // nor its separator.
    static std::vector<Item> Items(const Texts& texts = DefaultTexts());

    WindowMenu(QWidget& window, Prompts& prompts, std::function<void()> runDemoLoop);
    ~WindowMenu() override;

    // Adds the items to the window's menu; once per run.
    void Install();
    // A command from the menu; false for one that is not ours, which the window handles itself.
    bool HandleSystemCommand(unsigned command);
    // Where the web page is opened; the desktop's browser unless a test says otherwise.
    void SetUrlOpener(std::function<bool(const QUrl&)> opener) { openUrl_ = std::move(opener); }
    // What "Allow scripting" shows checked, and what choosing it sets.
    void SetScriptingSwitch(std::function<bool()> allowed, std::function<void(bool)> allow);
    // Whether the checkable item of command shows checked now.
    bool IsChecked(unsigned command) const;

    // The popup menu where the platform has no system menu to join; null on Windows and before
    // Install.
    QMenu* popupMenu() const;

private:
    void ShowAbout();
    void OpenWebPage();
    void ToggleScripting();
    // The platform's menu shows the item's check as the switch has it.
    void ShowCheck(unsigned command, bool checked);

    struct Platform;

    QWidget& window_;
    Prompts& prompts_;
    std::function<void()> runDemoLoop_;
    std::function<bool(const QUrl&)> openUrl_;
    std::function<bool()> scriptingAllowed_;
    std::function<void(bool)> allowScripting_;
    std::unique_ptr<Platform> platform_;
};
