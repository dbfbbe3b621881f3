// The window menu where the window has no system menu of its own to join: a popup menu on the
// right button and on Alt+Space, with the same commands.
#include "WindowMenu.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QWidget>

namespace {
struct PopupMenu : QObject, WindowMenu::Platform {
    PopupMenu(WindowMenu& owner, QWidget& window) : window(window), menu(&window) {
        for (const WindowMenu::Item& item : WindowMenu::Items()) {
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
        connect(&menu, &QMenu::aboutToShow, &owner, [this, &owner] {
            ShowCheck(WindowMenu::kAllowScripting, owner.IsChecked(WindowMenu::kAllowScripting));
        });
    }

    void ShowCheck(unsigned command, bool checked) override {
        for (QAction* action : menu.actions()) {
            if (action->isCheckable() && action->data().toUInt() == command) {
                action->setChecked(checked);
            }
        }
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

    QMenu* popupMenu() override { return &menu; }

    QWidget& window;
    QMenu menu;
};

}  // namespace

std::unique_ptr<WindowMenu::Platform> WindowMenu::JoinWindow() {
    return std::make_unique<PopupMenu>(*this, window_);
}
