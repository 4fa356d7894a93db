#include "menus.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace ovd {

std::map<QString, QMenu*> buildMenus(QMenuBar* bar, const std::vector<MenuEntry>& entries, QObject* context)
{
    std::map<QString, QMenu*> menus;
    for (const MenuEntry& e : entries) {
        const QString top = QString::fromUtf8(e.menu);
        QMenu*& topMenu = menus[top];
        if (!topMenu)
            topMenu = bar->addMenu(top);
        QMenu* menu = topMenu;
        if (*e.submenu) {
            QMenu*& sub = menus[top + "/" + QString::fromUtf8(e.submenu)];
            if (!sub)
                sub = topMenu->addMenu(QString::fromUtf8(e.submenu));
            menu = sub;
        }
        QAction* a = qstrcmp(e.text, "-") == 0 ? menu->addSeparator() : menu->addAction(QString::fromUtf8(e.text));
        a->setObjectName(QString::fromUtf8(e.name));
        if (*e.shortcut)
            a->setShortcut(QKeySequence(QString::fromUtf8(e.shortcut)));
        a->setCheckable(e.checkable);
        if (e.run)
            QObject::connect(a, &QAction::triggered, context, [run = e.run] { run(); });
    }
    return menus;
}

QAction* findAction(const QObject* owner, const char* name)
{
    return owner->findChild<QAction*>(QString::fromUtf8(name));
}

}  // namespace ovd
