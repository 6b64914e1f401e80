#include "editors/frequency_edit.h"

#include "model/number_text.h"

namespace kettrik {

CFrequencyEdit::CFrequencyEdit(QWidget* parent) : QLineEdit(parent) {}

void CFrequencyEdit::ShowValue(double value) {
    setText(QString::fromStdString(FormatGeneral(value, 6)));
}

} // namespace kettrik
