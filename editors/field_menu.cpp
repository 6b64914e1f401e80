#include "editors/field_menu.h"

#include <QLineEdit>
#include <QMenu>

#include "resources/menu_resources.h"

namespace kettrik {

std::unique_ptr<QMenu> CreateFieldMenu(FieldMenu which, QLineEdit& field) {
    auto menu = std::make_unique<QMenu>(&field);
    const MenuTemplate resource = LoadMenuTemplate(152);
    const int popup = static_cast<int>(which);
    if (popup < resource.Popups.size()) {
        BuildMenuItems(menu.get(), resource.Popups[popup]);
    }
    // The shortcuts themselves belong to the window's accelerators; here they act on the box.
    const auto connectItem = [&menu](int command, auto&& action) {
        if (QAction* item = FindCommand(menu.get(), command)) {
            QObject::connect(item, &QAction::triggered, item, action);
        }
    };
    connectItem(field_command::Copy, [&field] { field.copy(); });
    connectItem(field_command::Cut, [&field] { field.cut(); });
    connectItem(field_command::Paste, [&field] { field.paste(); });
    return menu;
}

QAction* FieldMenuItem(const QMenu& menu, int command) {
    QAction* item = FindCommand(&menu, command);
    if (item != nullptr) {
        item->setCheckable(true);
    }
    return item;
}

} // namespace kettrik
