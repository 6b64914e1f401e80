#include "editors/frequency_edit.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "editors/field_menu.h"
#include "editors/note_names.h"
#include "platform/settings_store.h"

namespace kettrik {

CFrequencyEdit::CFrequencyEdit(SettingsStore& settings, QWidget* parent)
    : QLineEdit(parent), settings_(settings) {
    SnapToNotes = settings_.GetInt(settings::Kettrik, settings::SnapToNotes, 0) != 0;
    ShowNotes = settings_.GetInt(settings::Kettrik, settings::ShowNotes, 1) != 0;
}

void CFrequencyEdit::ShowValue(double& value, bool snap) {
    setText(
        QString::fromStdString(FrequencyText(value, snap, NoteCapable, ShowNotes, SnapToNotes)));
    RememberedValue = value;
}

double CFrequencyEdit::ReadValue() {
    RememberedValue = ReadFrequencyText(text().toStdString());
    return RememberedValue;
}

std::unique_ptr<QMenu> CFrequencyEdit::CreateOptionsMenu() {
    auto menu = CreateFieldMenu(FieldMenu::Frequency, *this);
    SetUpFieldMenuItem(*menu, field_command::Hz, !ShowNotes, true, [this] { SetShowNotes(false); });
    SetUpFieldMenuItem(*menu, field_command::Note, ShowNotes, true, [this] { SetShowNotes(true); });
    SetUpFieldMenuItem(*menu, field_command::SnapToNote, SnapToNotes, ShowNotes,
                       [this] { ToggleSnapToNotes(); });
    return menu;
}

void CFrequencyEdit::contextMenuEvent(QContextMenuEvent* event) {
    if (!NoteCapable) {
        QLineEdit::contextMenuEvent(event);
        return;
    }
    const std::unique_ptr<QMenu> menu = CreateOptionsMenu();
    menu->exec(event->globalPos() + QPoint(10, 0));
}

void CFrequencyEdit::SetShowNotes(bool on) {
    ShowNotes = on;
    settings_.WriteString(settings::Kettrik, settings::ShowNotes, on ? "1" : "0");
    double value = RememberedValue;
    ShowValue(value, false);
}

void CFrequencyEdit::ToggleSnapToNotes() {
    SnapToNotes = !SnapToNotes;
    settings_.WriteString(settings::Kettrik, settings::SnapToNotes, SnapToNotes ? "1" : "0");
}

} // namespace kettrik
