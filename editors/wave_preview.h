// The waveform page's picture of one period of the oscillator's wave, as the engine makes it.
#pragma once

#include <QFrame>

#include "model/sound.h"

namespace kettrik {

class CWavePreview : public QFrame {
    Q_OBJECT
public:
    explicit CWavePreview(QWidget* parent = nullptr);

    void Bind(Oscillator& oscillator);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Oscillator* oscillator_ = nullptr;
};

} // namespace kettrik
