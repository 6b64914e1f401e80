// A time box of the envelope page: a start or end time in milliseconds.
#pragma once

#include <QLineEdit>

namespace kettrik {

class CTimeEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CTimeEdit(QWidget* parent = nullptr);

    void ShowValue(double milliseconds);

    // Beats per minute of the window's tempo box, for showing times as beats.
    double Tempo = 120.0;
};

} // namespace kettrik
