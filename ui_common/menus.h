#pragma once
// Menus built from a declaration: each entry says where it goes, the object name by which
// code and tests find its action, its text, shortcut and what it runs.
#include <QString>

#include <functional>
#include <map>
#include <vector>

class QAction;
class QMenu;
class QMenuBar;
class QObject;

namespace ovd {

struct MenuEntry {
    const char* menu;           // top-level menu, "&Soubor"
    const char* submenu;        // "" or a submenu of `menu`
    const char* name;           // the action's object name ("" for a plain separator)
    const char* text;           // as shown, with its mnemonic; "-" is a separator
    std::function<void()> run;  // empty when the owner wires the action itself
    const char* shortcut = "";  // "Ctrl+O"
    bool checkable = false;
};

// Adds the entries in order; a menu or submenu is made where it is first named. Returns the
// menus by path ("&Soubor", "Ná&stroje/&Export souborů").
std::map<QString, QMenu*> buildMenus(QMenuBar* bar, const std::vector<MenuEntry>& entries, QObject* context);

// The action with this object name anywhere under `owner`; nullptr when there is none.
QAction* findAction(const QObject* owner, const char* name);

}  // namespace ovd
