// What the right-button menus of the value and time boxes share: the three editing items
// that end both menus, acting on the box's own text.
#pragma once

class QLineEdit;
class QMenu;

namespace kettrik {

// Appends a separator, "&Copy\tCtrl+C", "Cu&t\tCtrl+X" and "&Paste\tCtrl+V".
void AddEditingItems(QMenu& menu, QLineEdit& field);

} // namespace kettrik
