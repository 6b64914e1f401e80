// A value box of the envelope page: a frequency, cutoff, amplitude or resonance.
#pragma once

#include <QLineEdit>

namespace kettrik {

class CFrequencyEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit CFrequencyEdit(QWidget* parent = nullptr);

    // Shows the value as a number.
    void ShowValue(double value);

    // Whether the box may show the value as a note name: only frequencies of generators.
    bool NoteCapable = true;
};

} // namespace kettrik
