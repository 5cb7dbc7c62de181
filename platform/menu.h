// The popup menu as a Qt menu, built from the one table of resources/popup_menu: submenus,
// separators and command items with their exact texts, each command item carrying its identifier.
// The main window builds it once; the menu services set check marks and texts and open it.
#pragma once

#include <functional>

class QAction;
class QMenu;
class QWidget;
struct PopupMenuEntry;

// Builds the menu of `entries`; choosing an item calls `chosen` with its identifier, from the
// event loop after the menu has closed (the way a command message is posted).
QMenu* buildPopupMenu(const PopupMenuEntry* entries, int count, QWidget* parent,
                      std::function<void(int command)> chosen);
// The same from the program's own table.
QMenu* buildPopupMenu(QWidget* parent, std::function<void(int command)> chosen);

// The item with this identifier, in the menu or any of its submenus; nullptr when none.
QAction* findMenuCommand(const QMenu* menu, int command);

// Menu texts show '&' as it is rather than as a mnemonic marker.
void setMenuItemText(QAction* action, const char* text);
