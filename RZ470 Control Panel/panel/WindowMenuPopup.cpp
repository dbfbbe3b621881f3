// The window menu where the window has no system menu of its own to join: a popup menu on the
// right button and on Alt+Space, with the same commands.
#include "WindowMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

struct WindowMenu::Platform : QObject {
    Platform(WindowMenu& owner, QWidget& window) : window(window), menu(&window) {
        for (const Item& item : Items()) {
            if (item.separatorBefore) {
                menu.addSeparator();
            }
            QAction* action = menu.addAction(item.text);
            const unsigned command = item.command;
            action->setCheckable(item.checkable);
            action->setData(command);
            connect(action, &QAction::triggered, &owner,
                    [&owner, command] { owner.HandleSystemCommand(command); });
        }
        window.installEventFilter(this);
        // The switch may have been changed elsewhere (a test, the settings) since last shown.
        connect(&menu, &QMenu::aboutToShow, &owner,
                [&owner] { owner.ShowCheck(kAllowScripting, owner.IsChecked(kAllowScripting)); });
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &window) {
            return false;
        }
        if (event->type() == QEvent::ContextMenu) {
            menu.popup(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Space && key->modifiers() == Qt::AltModifier) {
                // Where a system menu opens: the window's top left corner.
                menu.popup(window.mapToGlobal(QPoint(0, 0)));
                return true;
            }
        }
        return false;
    }

    QWidget& window;
    QMenu menu;
};

WindowMenu::WindowMenu(QWidget& window, Prompts& prompts, std::function<void()> runDemoLoop)
    : window_(window), prompts_(prompts), runDemoLoop_(std::move(runDemoLoop)) {}

WindowMenu::~WindowMenu() = default;

void WindowMenu::Install() {
    if (!platform_) {
        platform_ = std::make_unique<Platform>(*this, window_);
        ShowCheck(kAllowScripting, IsChecked(kAllowScripting));
    }
}

QMenu* WindowMenu::popupMenu() const {
    return platform_ ? &platform_->menu : nullptr;
}

void WindowMenu::ShowCheck(unsigned command, bool checked) {
    if (!platform_) {
        return;
    }
    for (QAction* action : platform_->menu.actions()) {
        if (action->isCheckable() && action->data().toUInt() == command) {
            action->setChecked(checked);
        }
    }
}
