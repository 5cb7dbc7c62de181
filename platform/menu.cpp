#include "platform/menu.h"

#include <QAction>
#include <QMenu>
#include <vector>

#include "platform/drawing.h"
#include "resources/popup_menu.h"

static QString menuText(const char* text) {
    return textFromCodePage(text).replace(QLatin1Char('&'), QLatin1String("&&"));
}

QMenu* buildPopupMenu(const PopupMenuEntry* entries, int count, QWidget* parent,
                      std::function<void(int command)> chosen) {
    auto* root = new QMenu(parent);
    std::vector<QMenu*> open{root};
    for (int i = 0; i < count; ++i) {
        const PopupMenuEntry& entry = entries[i];
        QMenu* menu = open.back();
        switch (entry.kind) {
            case PopupSubmenu:
                open.push_back(menu->addMenu(menuText(entry.text)));
                break;
            case PopupEnd:
                if (open.size() > 1) open.pop_back();
                break;
            case PopupSeparator:
                menu->addSeparator();
                break;
            case PopupCommand: {
                QAction* action = menu->addAction(menuText(entry.text));
                int command = entry.command;
                action->setData(command);
                QObject::connect(action, &QAction::triggered, root,
                                 [chosen, command] { chosen(command); }, Qt::QueuedConnection);
                break;
            }
        }
    }
    return root;
}

QMenu* buildPopupMenu(QWidget* parent, std::function<void(int command)> chosen) {
    return buildPopupMenu(kPopupMenu, kPopupMenuSize, parent, std::move(chosen));
}

QAction* findMenuCommand(const QMenu* menu, int command) {
    if (!menu) return nullptr;
    for (QAction* action : menu->actions()) {
        if (QMenu* submenu = action->menu()) {
            if (QAction* found = findMenuCommand(submenu, command)) return found;
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

void setMenuItemText(QAction* action, const char* text) {
    if (action) action->setText(menuText(text));
}
