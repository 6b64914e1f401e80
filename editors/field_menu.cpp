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

void SetUpFieldMenuItem(const QMenu& menu, int command, bool checked, bool enabled,
                        std::function<void()> action) {
    QAction* item = FindCommand(&menu, command);
    if (item == nullptr) {
        return;
    }
    item->setCheckable(true);
    item->setChecked(checked);
    item->setEnabled(enabled);
    QObject::connect(item, &QAction::triggered, item, std::move(action));
}

} // namespace kettrik
