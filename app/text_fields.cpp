#include "app/text_fields.h"

#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace kettrik {

namespace {

template <typename Field> bool Apply(QWidget* focus, TextCommand command) {
    auto* field = qobject_cast<Field*>(focus);
    if (field == nullptr) {
        return false;
    }
    switch (command) {
    case TextCommand::Copy:
        field->copy();
        break;
    case TextCommand::Cut:
        field->cut();
        break;
    case TextCommand::Paste:
        field->paste();
        break;
    case TextCommand::Undo:
        field->undo();
        break;
    }
    return true;
}

} // namespace

bool ApplyToFocusedTextField(const QWidget* window, TextCommand command) {
    QWidget* focus = QApplication::focusWidget();
    if (focus == nullptr || window == nullptr || !window->isAncestorOf(focus)) {
        return false;
    }
    return Apply<QLineEdit>(focus, command) || Apply<QPlainTextEdit>(focus, command) ||
           Apply<QTextEdit>(focus, command);
}

} // namespace kettrik
