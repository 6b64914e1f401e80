// Menus and accelerator tables of the program's resources, as Qt menus and actions.
//
// A menu resource is a list of popups; each item has a text ("&" marks the mnemonic, the
// part after "\t" is the shortcut shown), a command id, or is a separator or a nested popup.
// Actions carry their command id in data(), so a handler can dispatch on it.
#pragma once

#include <QKeySequence>
#include <QString>
#include <QVector>

class QAction;
class QMenu;
class QMenuBar;

namespace kettrik {

struct MenuItemTemplate {
    QString Text;
    int Command = 0;
    bool Separator = false;
    QVector<MenuItemTemplate> Items; // the items of a nested popup
    bool IsPopup() const { return !Items.isEmpty(); }
};

struct MenuTemplate {
    int Id = 0; // 0 when there is no such menu
    QVector<MenuItemTemplate> Popups;
};

MenuTemplate LoadMenuTemplate(int id);

// Adds the popup's items to the menu: actions with their command id in data(), nested
// popups as submenus.
void BuildMenuItems(QMenu* menu, const MenuItemTemplate& popup);
// Adds one menu per popup to the bar.
void BuildMenuBar(QMenuBar* bar, const MenuTemplate& menu);

// The first action with this command id in the menu or its submenus, or null.
QAction* FindCommand(const QMenu* menu, int command);

struct AcceleratorTemplate {
    QKeySequence Key;
    int Command = 0;
};

QVector<AcceleratorTemplate> LoadAccelerators(int id);

} // namespace kettrik
