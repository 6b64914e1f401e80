// The edit commands of a text field: with the keyboard focus in a text box, Copy, Cut, Paste
// and Undo act on its text instead of on the oscillator table.
#pragma once

class QWidget;

namespace kettrik {

enum class TextCommand { Copy, Cut, Paste, Undo };

// Carries out the command on the text field inside `window` that has the keyboard focus.
// False when the focus is in no text field of that window.
bool ApplyToFocusedTextField(const QWidget* window, TextCommand command);

} // namespace kettrik
