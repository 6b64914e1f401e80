// The main window's editing of the oscillator table: committing edits as undo steps, Undo,
// insert and delete, and the one-oscillator clipboard.
#include <QAction>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QTabBar>

#include "app/commands.h"
#include "app/main_dialog.h"
#include "app/text_fields.h"

namespace kettrik {

void CMainDialog::ClearHistory() {
    history_.Clear();
    TakeSnapshot(*snapshot_, *sound_, 0, 0);
    // An empty history has nothing to undo: the item says so by being grayed.
    MenuCommand(command::EditUndo)->setEnabled(false);
}

void CMainDialog::CommitChanges() {
    // Without memory for the step the snapshot stays as it was: the next commit finds the
    // change again.
    const CommitOutcome outcome = CommitTable(*sound_, *snapshot_, history_, SelectedOscillator(),
                                              ParameterTabBar()->currentIndex());
    if (outcome == CommitOutcome::NoChange) {
        return;
    }
    needsRender_ = true;
    if (!modified_) {
        modified_ = true;
        UpdateTitle();
    }
    if (outcome == CommitOutcome::Recorded) {
        MenuCommand(command::EditUndo)->setEnabled(true);
    }
}

void CMainDialog::Undo() {
    if (ApplyToFocusedTextField(this, TextCommand::Undo)) {
        return;
    }
    const UndoStep* step = history_.Newest();
    if (step == nullptr) {
        return;
    }
    ApplyUndoStep(*sound_, *step);
    const int oscillator =
        std::clamp(step->SelectedOscillator, 0, std::max(ClampCount(sound_->Count) - 1, 0));
    const int page = step->SelectedPage;
    RebuildOscillatorTabs();
    SelectOscillatorTab(oscillator);
    ShowOscillator(oscillator);
    if (page >= 0 && page < ParameterTabBar()->count()) {
        const QSignalBlocker blocker(ParameterTabBar());
        ParameterTabBar()->setCurrentIndex(page);
    }
    ShowOscillator(oscillator);
    CheckSampleFrequencyMenu();
    TakeSnapshot(*snapshot_, *sound_, oscillator, page);
    history_.DropNewest();
    needsRender_ = true;
    if (!modified_) {
        modified_ = true;
        UpdateTitle();
    }
    MenuCommand(command::EditUndo)->setEnabled(!history_.Empty());
}

bool CMainDialog::TellTableIsFull() {
    QMessageBox::information(
        this, ProductTitle(false),
        QStringLiteral("This sound already has %1 oscillators, as many as a sound can hold.\n\n"
                       "Delete an oscillator before adding another one.")
            .arg(MaxOscillators));
    return false;
}

void CMainDialog::InsertOscillator(const Oscillator* record, std::optional<int> position) {
    const int p = position.value_or(SelectedOscillator());
    if (!CanGrow(*sound_)) {
        TellTableIsFull();
        return;
    }
    if (!kettrik::InsertOscillator(*sound_, p, record)) {
        return;
    }
    SelectOscillatorTab(p);
    ShowOscillator(p);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::DeleteOscillator(std::optional<int> position) {
    const int p = position.value_or(SelectedOscillator());
    if (!kettrik::DeleteOscillator(*sound_, p)) {
        return;
    }
    const int selected = p == sound_->Count ? p - 1 : p;
    SelectOscillatorTab(selected);
    ShowOscillator(selected);
    RebuildOscillatorTabs();
    CommitChanges();
}

void CMainDialog::Copy() {
    if (ApplyToFocusedTextField(this, TextCommand::Copy)) {
        return;
    }
    clipboard_.Record = sound_->Oscillators[SelectedOscillator()];
    clipboard_.Holds = true;
}

void CMainDialog::Cut() {
    if (ApplyToFocusedTextField(this, TextCommand::Cut)) {
        return;
    }
    Copy();
    DeleteOscillator();
}

void CMainDialog::Paste() {
    if (ApplyToFocusedTextField(this, TextCommand::Paste)) {
        return;
    }
    if (clipboard_.Holds) {
        InsertOscillator(&clipboard_.Record);
    }
}

} // namespace kettrik
