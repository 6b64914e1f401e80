#include "editors/wave_preview.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPainterPath>

#include "engine/render.h"

namespace kettrik {

CWavePreview::CWavePreview(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void CWavePreview::Bind(Oscillator& oscillator) {
    oscillator_ = &oscillator;
    update();
}

void CWavePreview::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (oscillator_ == nullptr) {
        return;
    }
    const QRect area = contentsRect().adjusted(4, 4, -4, -4);
    const int width = std::max(1, area.width());
    const double half = area.height() * 0.5;
    // The engine reads the phase from the record; it is put back to 0 as renders expect.
    const double phaseBefore = oscillator_->Render.Phase;
    QPainterPath path;
    for (int i = 0; i <= width; ++i) {
        const double periods = static_cast<double>(i) / width;
        oscillator_->Render.Phase = oscillator_->WaveForm == Sine ? periods * 6.2831852 : periods;
        const double raw = OscillatorValue(*oscillator_);
        const double value = std::isfinite(raw) ? std::clamp(raw, -1.0, 1.0) : 0.0;
        const QPointF point(area.left() + i, area.top() + (value + 1.0) * half);
        if (i == 0) {
            path.moveTo(point);
        } else {
            path.lineTo(point);
        }
    }
    oscillator_->Render.Phase = phaseBefore;
    QPainter painter(this);
    painter.setPen(QColor(0, 128, 240));
    painter.drawPath(path);
}

} // namespace kettrik
