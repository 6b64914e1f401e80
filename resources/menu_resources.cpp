#include "resources/menu_resources.h"

#include <QAction>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QMenuBar>

namespace kettrik {

namespace {

QJsonObject ReadJson(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    return QJsonDocument::fromJson(file.readAll()).object();
}

MenuItemTemplate ReadItem(const QJsonObject& o) {
    MenuItemTemplate item;
    item.Text = o.value(QLatin1String("text")).toString();
    item.Command = o.value(QLatin1String("command")).toInt();
    item.Separator = o.value(QLatin1String("separator")).toBool();
    for (const QJsonValue& child : o.value(QLatin1String("items")).toArray()) {
        item.Items.push_back(ReadItem(child.toObject()));
    }
    return item;
}

} // namespace

MenuTemplate LoadMenuTemplate(int id) {
    const QJsonObject json = ReadJson(QStringLiteral(":/menus/%1.json").arg(id));
    MenuTemplate menu;
    if (json.isEmpty()) {
        return menu;
    }
    menu.Id = json.value(QLatin1String("id")).toInt();
    for (const QJsonValue& popup : json.value(QLatin1String("popups")).toArray()) {
        menu.Popups.push_back(ReadItem(popup.toObject()));
    }
    return menu;
}

void BuildMenuItems(QMenu* menu, const MenuItemTemplate& popup) {
    for (const MenuItemTemplate& item : popup.Items) {
        if (item.Separator) {
            menu->addSeparator();
        } else if (item.IsPopup()) {
            BuildMenuItems(menu->addMenu(item.Text), item);
        } else {
            QAction* action = menu->addAction(item.Text);
            action->setData(item.Command);
        }
    }
}

void BuildMenuBar(QMenuBar* bar, const MenuTemplate& menu) {
    for (const MenuItemTemplate& popup : menu.Popups) {
        BuildMenuItems(bar->addMenu(popup.Text), popup);
    }
}

QAction* FindCommand(const QMenu* menu, int command) {
    for (QAction* action : menu->actions()) {
        if (action->menu() != nullptr) {
            if (QAction* found = FindCommand(action->menu(), command)) {
                return found;
            }
        } else if (!action->isSeparator() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

QVector<AcceleratorTemplate> LoadAccelerators(int id) {
    const QJsonObject json = ReadJson(QStringLiteral(":/accelerators/%1.json").arg(id));
    QVector<AcceleratorTemplate> table;
    for (const QJsonValue& value : json.value(QLatin1String("keys")).toArray()) {
        const QJsonObject o = value.toObject();
        table.push_back({QKeySequence::fromString(o.value(QLatin1String("key")).toString(),
                                                  QKeySequence::PortableText),
                         o.value(QLatin1String("command")).toInt()});
    }
    return table;
}

} // namespace kettrik
