#include "WindowMenu.h"

#include "CAboutDlg.h"
#include "ProductVersion.h"
#include "Prompts.h"

#include <QDesktopServices>

WindowMenu::Texts WindowMenu::DefaultTexts() {
    return {QString::fromLatin1(kWebPageText), QString::fromLatin1(kAboutText),
            QString::fromLatin1(kDemoLoopText), QString::fromLatin1(kAllowScriptingText)};
}

std::vector<WindowMenu::Item> WindowMenu::Items(const Texts& texts) {
    std::vector<Item> items;
    const auto add = [&items](bool separatorBefore, unsigned command, const QString& text,
                              bool checkable = false) {
        if (!text.isEmpty()) {
            items.push_back({separatorBefore, command, text, checkable});
        }
    };
    add(false, kWebPage, texts.webPage);
    add(true, kAbout, texts.about);
    add(true, kDemoLoop, texts.demoLoop);
    add(true, kAllowScripting, texts.allowScripting, true);
    return items;
}

bool WindowMenu::HandleSystemCommand(unsigned command) {
    switch (command & kCommandMask) {
        case kAbout:
            ShowAbout();
            return true;
        case kWebPage:
            OpenWebPage();
            return true;
        case kDemoLoop:
            runDemoLoop_();
            return true;
        case kAllowScripting:
            ToggleScripting();
            return true;
        default:
            return false;
    }
}

void WindowMenu::ShowAbout() {
    CAboutDlg about(&window_);
    about.m_version = ReadProductVersion(QStringLiteral("ProductVersion"));
    prompts_.runModal(about);
}

void WindowMenu::OpenWebPage() {
    const std::function<bool(const QUrl&)> open =
        openUrl_ ? openUrl_ : [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    if (!open(QUrl(QString::fromLatin1(kWebPageAddress)))) {
        prompts_.message(QString::fromLatin1(kBrowserFailedText), QString::fromLatin1(kErrorTitle),
                         Prompts::Buttons::Ok, Prompts::Icon::None);
    }
}

void WindowMenu::SetScriptingSwitch(std::function<bool()> allowed, std::function<void(bool)> allow) {
    scriptingAllowed_ = std::move(allowed);
    allowScripting_ = std::move(allow);
    ShowCheck(kAllowScripting, IsChecked(kAllowScripting));
}

bool WindowMenu::IsChecked(unsigned command) const {
    return command == kAllowScripting && scriptingAllowed_ && scriptingAllowed_();
}

void WindowMenu::ToggleScripting() {
    if (allowScripting_) {
        allowScripting_(!IsChecked(kAllowScripting));
    }
    ShowCheck(kAllowScripting, IsChecked(kAllowScripting));
}
