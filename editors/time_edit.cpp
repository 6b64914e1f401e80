#include "editors/time_edit.h"

#include "model/number_text.h"

namespace kettrik {

CTimeEdit::CTimeEdit(QWidget* parent) : QLineEdit(parent) {}

void CTimeEdit::ShowValue(double milliseconds) {
    setText(QString::fromStdString(FormatGeneral(milliseconds, 6)));
}

} // namespace kettrik
