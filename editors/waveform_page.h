// The page that edits the selected oscillator's sound source: waveform, waveshape, noise and
// the WAV file of a WAV-file oscillator. Edits go into the oscillator at once and are recorded
// by the next commit that anything else makes.
#pragma once

#include <QHash>
#include <QWidget>

#include "model/sound.h"

class QLineEdit;
class QSlider;

namespace kettrik {

class AudioPlayer;
class CWavePreview;
class EditorHost;
class SettingsStore;

class CWaveformPage : public QWidget {
    Q_OBJECT
public:
    // The settings and the player serve the file dialog's preview when a WAV file is chosen.
    CWaveformPage(SettingsStore& settings, AudioPlayer& player, QWidget* parent = nullptr);

    void SetHost(EditorHost* host) { host_ = host; }

    void BindWaveform(Oscillator& oscillator);

    QWidget* Control(int id) const { return controls_.value(id); }
    CWavePreview* Preview() const;
    QSlider* ShapeSlider() const;
    QLineEdit* ShapeBox() const;

    // The longest WAV file path the oscillator can hold, in bytes.
    static constexpr int WavPathLimit = TextCapacity - 1;

private:
    void ConnectSignals();
    void UpdateWavControls();
    void SelectWaveButton(int waveForm);
    bool WavButtonSelected() const;
    void OnWaveButton(int waveForm);
    void OnWavFileButton();
    void Browse();
    void OnSliderMoved(int position);
    void OnShapeBoxChanged();
    void OnNoiseFactorChanged();
    void OnNoiseTypeChanged();
    void OnNoiseTypeStepped(int delta);
    void OnLoopWavClicked(bool checked);
    void OnShapeDragged(double shape);
    QLineEdit* Box(int id) const;

    SettingsStore& settings_;
    AudioPlayer& player_;
    QHash<int, QWidget*> controls_;
    EditorHost* host_ = nullptr;
    Oscillator* oscillator_ = nullptr;
    bool changeHandling_ = false;
};

} // namespace kettrik
