// The right-button menus of the value and time boxes, from the menu resource (popups 1 and 2
// of the context-menu resource). The editing items at their end act on the box's own text.
#pragma once

#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;

namespace kettrik {

enum class FieldMenu { Frequency = 1, Time = 2 };

// The popup as a menu owned by the caller, its Copy, Cut and Paste items connected to field.
std::unique_ptr<QMenu> CreateFieldMenu(FieldMenu which, QLineEdit& field);

// Makes the item with this command id checkable, checks or clears it, enables or grays it and
// runs action when it is chosen; does nothing if the resource has no such item.
void SetUpFieldMenuItem(const QMenu& menu, int command, bool checked, bool enabled,
                        std::function<void()> action);

namespace field_command {
inline constexpr int Hz = 32827;
inline constexpr int Note = 32828;
inline constexpr int SnapToNote = 32829;
inline constexpr int Milliseconds = 32830;
inline constexpr int Beats = 32831;
inline constexpr int SnapQuarter = 32832; // then 1/8, 1/16, 1/32 in order
inline constexpr int SnapNone = 32836;
inline constexpr int Copy = 57634;
inline constexpr int Cut = 57635;
inline constexpr int Paste = 57637;
} // namespace field_command

} // namespace kettrik
