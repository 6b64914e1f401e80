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
    auto menu = std::make_unique<QMenu>(this);
    QMenu* mode = menu->addMenu(QStringLiteral("Display mode"));
    QAction* ms = mode->addAction(QStringLiteral("milliseconds (ms)"));
    QAction* beats = mode->addAction(QStringLiteral("beat:fraction"));
    ms->setCheckable(true);
    beats->setCheckable(true);
    ms->setChecked(!ShowTime);
    beats->setChecked(ShowTime);
    connect(ms, &QAction::triggered, this, [this] { SetShowTime(false); });
    connect(beats, &QAction::triggered, this, [this] { SetShowTime(true); });
    mode->addSeparator();
    QMenu* snap = mode->addMenu(QStringLiteral("Snap to time"));
    const struct {
        const char* Text;
        int Code;
    } grids[] = {{"none", 0}, {"1/4 note", 1}, {"1/8 note", 2}, {"1/16 note", 3}, {"1/32 note", 4}};
    for (const auto& grid : grids) {
        QAction* item = snap->addAction(QString::fromLatin1(grid.Text));
        item->setCheckable(true);
        item->setChecked(SnapCode == grid.Code);
        item->setEnabled(ShowTime);
        connect(item, &QAction::triggered, this, [this, code = grid.Code] { SetSnapCode(code); });
    }
    AddEditingItems(*menu, *this);
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
