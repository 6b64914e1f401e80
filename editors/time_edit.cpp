#include "editors/time_edit.h"

#include <QContextMenuEvent>
#include <QMenu>

#include "editors/beat_time.h"
#include "editors/field_menu.h"
#include "model/number_text.h"
#include "platform/settings_store.h"

namespace kettrik {

CTimeEdit::CTimeEdit(SettingsStore& settings, QWidget* parent)
    : QLineEdit(parent), settings_(settings) {
    ShowTime = settings_.GetInt(settings::Kettrik, settings::ShowTime, 1) != 0;
    SnapCode = settings_.GetInt(settings::Kettrik, settings::SnapToTime, 0);
}

void CTimeEdit::ShowValue(double& milliseconds, bool snap) {
    setText(QString::fromStdString(TimeText(milliseconds, snap, ShowTime, SnapCode, Tempo)));
    RememberedValue = milliseconds;
}

double CTimeEdit::ReadValue() {
    if (const std::optional<double> read = ReadTimeText(text().toStdString(), Tempo)) {
        RememberedValue = *read;
    }
    return RememberedValue;
}

std::unique_ptr<QMenu> CTimeEdit::CreateOptionsMenu() {
    auto menu = CreateFieldMenu(FieldMenu::Time, *this);
    SetUpFieldMenuItem(*menu, field_command::Milliseconds, !ShowTime, true,
                       [this] { SetShowTime(false); });
    SetUpFieldMenuItem(*menu, field_command::Beats, ShowTime, true, [this] { SetShowTime(true); });
    SetUpFieldMenuItem(*menu, field_command::SnapNone, SnapCode == 0, ShowTime,
                       [this] { SetSnapCode(0); });
    for (int grid = 1; grid <= 4; ++grid) {
        SetUpFieldMenuItem(*menu, field_command::SnapQuarter + grid - 1, SnapCode == grid, ShowTime,
                           [this, grid] { SetSnapCode(grid); });
    }
    return menu;
}

void CTimeEdit::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = CreateOptionsMenu();
    menu->exec(event->globalPos() + QPoint(10, 0));
}

void CTimeEdit::SetShowTime(bool beats) {
    ShowTime = beats;
    settings_.WriteString(settings::Kettrik, settings::ShowTime, beats ? "1" : "0");
    double value = RememberedValue;
    ShowValue(value, false);
}

void CTimeEdit::SetSnapCode(int code) {
    SnapCode = code;
    settings_.WriteString(settings::Kettrik, settings::SnapToTime, FormatInt(code));
}

} // namespace kettrik
