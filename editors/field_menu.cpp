#include "editors/field_menu.h"

#include <QLineEdit>
#include <QMenu>

namespace kettrik {

void AddEditingItems(QMenu& menu, QLineEdit& field) {
    menu.addSeparator();
    // The shortcuts themselves belong to the window's accelerators; here they are only shown.
    QObject::connect(menu.addAction(QStringLiteral("&Copy\tCtrl+C")), &QAction::triggered, &field,
                     &QLineEdit::copy);
    QObject::connect(menu.addAction(QStringLiteral("Cu&t\tCtrl+X")), &QAction::triggered, &field,
                     &QLineEdit::cut);
    QObject::connect(menu.addAction(QStringLiteral("&Paste\tCtrl+V")), &QAction::triggered, &field,
                     &QLineEdit::paste);
}

} // namespace kettrik
