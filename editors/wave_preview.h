// The waveform page's picture of one period of the oscillator's wave (the whole file for a
// WAV-file oscillator), noise jitter included, drawn with the engine's own waveform function.
// Dragging in it asks for the waveshape that makes the shaped sine pass through the pointer.
#pragma once

#include <QFrame>

#include "model/sound.h"

namespace kettrik {

class CWavePreview : public QFrame {
    Q_OBJECT
public:
    explicit CWavePreview(QWidget* parent = nullptr);

    void Bind(Oscillator& oscillator);

    static constexpr QRgb WaveColour = 0xff0080f0;

signals:
    // A drag through a point that a shaped sine can reach: the shape that does it.
    void shapeDragged(double shape);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    Oscillator* oscillator_ = nullptr;
};

} // namespace kettrik
