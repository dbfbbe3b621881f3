// The window menu on Windows: the commands join the window's own system menu, and the system
// commands reach the handler through a native event filter.
#include "WindowMenu.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <QWidget>

#include <string>

#include <windows.h>

struct WindowMenu::Platform : QAbstractNativeEventFilter {
    Platform(WindowMenu& owner, HWND window) : owner(owner), window(window) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }
    ~Platform() override { QCoreApplication::instance()->removeNativeEventFilter(this); }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override {
        if (eventType != "windows_generic_MSG") {
            return false;
        }
        const MSG* msg = static_cast<const MSG*>(message);
        if (msg->hwnd != window || msg->message != WM_SYSCOMMAND ||
            !owner.HandleSystemCommand(static_cast<unsigned>(msg->wParam))) {
            return false;
        }
        *result = 0;
        return true;
    }

    WindowMenu& owner;
    HWND window;
};

WindowMenu::WindowMenu(QWidget& window, Prompts& prompts, std::function<void()> runDemoLoop)
    : window_(window), prompts_(prompts), runDemoLoop_(std::move(runDemoLoop)) {}

WindowMenu::~WindowMenu() = default;

void WindowMenu::Install() {
    if (platform_) {
        return;
    }
    const HWND window = reinterpret_cast<HWND>(window_.winId());
    const HMENU systemMenu = GetSystemMenu(window, FALSE);
    if (systemMenu == nullptr) {
        return;
    }
    for (const Item& item : Items()) {
        if (item.separatorBefore) {
            AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
        }
        const std::wstring text = item.text.toStdWString();
        const UINT checked = item.checkable && IsChecked(item.command) ? MF_CHECKED : MF_UNCHECKED;
        AppendMenuW(systemMenu, MF_STRING | checked, item.command, text.c_str());
    }
    platform_ = std::make_unique<Platform>(*this, window);
}

QMenu* WindowMenu::popupMenu() const {
    return nullptr;
}

void WindowMenu::ShowCheck(unsigned command, bool checked) {
    if (!platform_) {
        return;
    }
    const HMENU systemMenu = GetSystemMenu(platform_->window, FALSE);
    if (systemMenu != nullptr) {
        CheckMenuItem(systemMenu, command, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
    }
}
