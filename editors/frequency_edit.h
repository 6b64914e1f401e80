// A value box of the envelope page: a frequency, cutoff, amplitude or resonance. On the
// frequency tab of a generator it can show the value as a note name and, while a point is
// dragged, pull it to the nearest note; its right-button menu chooses both, and the choice
// is kept in the settings for the next start.
#pragma once

#include <memory>

#include <QLineEdit>

class QMenu;

namespace kettrik {

class SettingsStore;

class CFrequencyEdit : public QLineEdit {
    Q_OBJECT
public:
    // Reads ShowNotes and SnapToNotes once; later menu choices change this box only.
    explicit CFrequencyEdit(SettingsStore& settings, QWidget* parent = nullptr);

    // Writes the box's text for the bound value; with snap (and SnapToNotes) a shown note's
    // value is first moved onto the note, which changes the bound field.
    void ShowValue(double& value, bool snap);
    // The value the box's current text stands for.
    double ReadValue();

    // The right-button menu as it would open now (checks and grayed items set).
    std::unique_ptr<QMenu> CreateOptionsMenu();

    // Whether the box may show notes and offers its menu: only frequencies of generators.
    bool NoteCapable = true;
    bool SnapToNotes = false;
    bool ShowNotes = true;
    double RememberedValue = 0.0;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetShowNotes(bool on);
    void ToggleSnapToNotes();

    SettingsStore& settings_;
};

} // namespace kettrik
