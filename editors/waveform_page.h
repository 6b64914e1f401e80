// The page that edits the selected oscillator's sound source: waveform, waveshape, noise and
// the WAV file of a WAV-file oscillator.
#pragma once

#include <QHash>
#include <QWidget>

#include "model/sound.h"

namespace kettrik {

class CWavePreview;
class EditorHost;

class CWaveformPage : public QWidget {
    Q_OBJECT
public:
    explicit CWaveformPage(QWidget* parent = nullptr);

    void SetHost(EditorHost* host) { host_ = host; }

    void BindWaveform(Oscillator& oscillator);

    QWidget* Control(int id) const { return controls_.value(id); }
    CWavePreview* Preview() const;

private:
    void UpdateWavControls();

    QHash<int, QWidget*> controls_;
    EditorHost* host_ = nullptr;
    Oscillator* oscillator_ = nullptr;
};

} // namespace kettrik
