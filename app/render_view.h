// The white box at the bottom left of the window into which a render draws its waveform as
// it goes. The drawing is kept in an image, so it stays until the next render.
#pragma once

#include <QFrame>
#include <QImage>

#include "engine/wav_writer.h"
#include "model/sound.h"

namespace kettrik {

class RenderView : public QFrame {
    Q_OBJECT
public:
    explicit RenderView(QWidget* parent = nullptr);

    // Clears the picture and returns the hook that draws the samples of the coming render.
    // The hook refers to this view and is to be used for that one render only.
    SampleHook BeginRender(const Sound& sound);

    const QImage& Picture() const { return image_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void DrawSample(double clippedSample);

    QImage image_;
    RenderProgress progress_{};
    int columnsSincePaint_ = 0;
};

} // namespace kettrik
