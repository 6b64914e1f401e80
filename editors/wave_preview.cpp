#include "editors/wave_preview.h"

#include <algorithm>

#include <QMouseEvent>
#include <QPainter>

#include "editors/wave_geometry.h"
#include "engine/render.h"
#include "engine/wav_reader.h"

namespace kettrik {

namespace {

constexpr double FullTurn = 6.2831852; // radians per period, as the engine's sine takes them

// A one-pixel-wide vertical run between two rows, both included.
void Run(QPainter& painter, int x, int rowA, int rowB, const QColor& colour) {
    const int top = std::min(rowA, rowB);
    painter.fillRect(x, top, 1, std::max(rowA, rowB) - top + 1, colour);
}

} // namespace

CWavePreview::CWavePreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CWavePreview::Bind(Oscillator& oscillator) {
    oscillator_ = &oscillator;
    update();
}

void CWavePreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const QRect client = contentsRect();
    QPainter painter(this);
    painter.translate(client.topLeft());
    painter.fillRect(0, 0, client.width(), client.height(), Qt::white);
    if (oscillator_ == nullptr) {
        return;
    }
    Oscillator& o = *oscillator_;
    const CurveFrame area = PreviewDrawingArea(client.width(), client.height());
    const int w = area.Width();
    const int h = area.Height();
    const int half = h / 2;
    // The file is open only for this drawing.
    const bool opened = o.Render.Source.Cache == nullptr;
    if (opened) {
        OpenWavSource(o);
    }
    if (o.WaveForm == WavFileWave && o.Render.Source.Cache == nullptr) {
        o.WaveForm = Sine; // a missing or unreadable file sounds as a sine
    }
    const QColor colour(WaveColour);
    int previous = half;
    for (int i = 0; i < w; ++i) {
        double phase = (NoiseRandom() - 0.5) * o.NoiseBW + static_cast<double>(i) / w;
        if (o.WaveForm == Sine) {
            phase *= FullTurn;
        } else if (o.WaveForm == WavFileWave) {
            phase *= o.Render.Source.FrameCount;
        }
        o.Render.Phase = phase;
        const int row = PreviewRow(OscillatorValue(o), h);
        Run(painter, area.Left + i, area.Top + row, area.Top + previous, colour);
        previous = row;
    }
    if (opened) {
        CloseWavSource(o);
    }
    Run(painter, area.Left + w, area.Top + half, area.Top + previous, colour);
    o.Render.Phase = 0.0;
}

void CWavePreview::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) {
        return;
    }
    const QRect client = contentsRect();
    if (!client.contains(event->position().toPoint())) {
        return; // only what happens over the picture counts
    }
    const QPointF at = event->position() - client.topLeft();
    if (const auto shape = PreviewDragShape(TruncPixel(at.x()), TruncPixel(at.y()), client.width(),
                                            client.height())) {
        emit shapeDragged(*shape);
    }
}

} // namespace kettrik
