#include "app/render_view.h"

#include <QPainter>

namespace kettrik {

namespace {

// Repainting after every column would make a render several times slower; every few
// columns still shows the waveform growing.
constexpr int ColumnsPerRepaint = 16;
const QColor WaveColour(0x00, 0x20, 0xC0);

} // namespace

RenderView::RenderView(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setAutoFillBackground(true);
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
}

void RenderView::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    image_ = QImage(contentsRect().size(), QImage::Format_RGB32);
    image_.fill(Qt::white);
}

SampleHook RenderView::BeginRender(const Sound& sound) {
    if (image_.size() != contentsRect().size()) {
        image_ = QImage(contentsRect().size(), QImage::Format_RGB32);
    }
    image_.fill(Qt::white);
    SetupRenderProgress(progress_, sound.Oscillators, sound.Count, sound.SampleFrequency, 0, 0,
                        image_.width(), image_.height());
    columnsSincePaint_ = 0;
    repaint();
    return [this](double clippedSample) { DrawSample(clippedSample); };
}

void RenderView::DrawSample(double clippedSample) {
    const ProgressSegment segment = AdvanceRenderProgress(progress_, clippedSample);
    if (!segment.Draw || segment.X < 0 || segment.X >= image_.width()) {
        return;
    }
    const int top = std::max(segment.Y0, 0);
    const int bottom = std::min(segment.Y1, image_.height() - 1);
    const QRgb colour = WaveColour.rgb();
    for (int y = top; y <= bottom; ++y) {
        image_.setPixel(segment.X, y, colour);
    }
    if (++columnsSincePaint_ >= ColumnsPerRepaint) {
        columnsSincePaint_ = 0;
        repaint(contentsRect());
    }
}

void RenderView::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    QPainter painter(this);
    painter.drawImage(contentsRect().topLeft(), image_);
}

} // namespace kettrik
