// A time box of the envelope page: a start or end time, shown in milliseconds or as beats of
// the window's tempo ("beat:thousandths"); while a point is dragged a box in beat mode can
// pull the time down to a grid of notes. Its right-button menu chooses both, kept in the
// settings for the next start.
#pragma once

#include <memory>

#include <QLineEdit>

class QMenu;

namespace kettrik {

class SettingsStore;

class CTimeEdit : public QLineEdit {
    Q_OBJECT
public:
    // Reads ShowTime and SnapToTime once; later menu choices change this box only.
    explicit CTimeEdit(SettingsStore& settings, QWidget* parent = nullptr);

    // Writes the box's text for the bound time; with snap in beat mode the time is first
    // moved down onto the grid, which changes the bound field.
    void ShowValue(double& milliseconds, bool snap);
    // The time in ms the box's current text stands for. Beats without a usable tempo cannot
    // be read: the box then stands for the time it last showed or read.
    double ReadValue();

    // The right-button menu as it would open now (checks and grayed items set).
    std::unique_ptr<QMenu> CreateOptionsMenu();

    double RememberedValue = 0.0;
    bool ShowTime = true;
    int SnapCode = 0;
    // Beats per minute of the window's tempo box; 0 or less (or NaN) means no tempo.
    double Tempo = 120.0;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetShowTime(bool beats);
    void SetSnapCode(int code);

    SettingsStore& settings_;
};

} // namespace kettrik
