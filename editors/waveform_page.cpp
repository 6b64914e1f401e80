#include "editors/waveform_page.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "editors/page_controls.h"
#include "editors/wave_preview.h"
#include "model/number_text.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int WaveformTemplate = 141;
enum Control {
    ShapeSlider = 1043,
    ShapeBox = 1026,
    PreviewBox = 1007,
    FirstWaveButton = 1050, // Sine; the others follow in waveform order
    WavFileButton = 1054,
    NoiseFactorBox = 1046,
    NoiseTypeBox = 1055,
    WavFileBox = 1049,
    LoopWavBox = 1048,
    BrowseButton = 1041,
};

QWidget* MakePreview(const ControlTemplate& control, QWidget* parent) {
    return control.Class == QLatin1String("CWavePreview") ? new CWavePreview(parent) : nullptr;
}

} // namespace

CWaveformPage::CWaveformPage(QWidget* parent) : QWidget(parent) {
    controls_ = BuildPage(this, LoadDialogTemplate(WaveformTemplate), MakePreview);
}

CWavePreview* CWaveformPage::Preview() const {
    return static_cast<CWavePreview*>(controls_.value(PreviewBox));
}

void CWaveformPage::BindWaveform(Oscillator& oscillator) {
    oscillator_ = &oscillator;
    Preview()->Bind(oscillator);
    if (oscillator.WaveForm >= Sine && oscillator.WaveForm <= WavFileWave) {
        static_cast<QPushButton*>(controls_.value(FirstWaveButton + oscillator.WaveForm))
            ->setChecked(true);
    }
    UpdateWavControls();
    const auto setText = [this](int id, const std::string& text) {
        static_cast<QLineEdit*>(controls_.value(id))->setText(QString::fromStdString(text));
    };
    setText(ShapeBox, FormatGeneral(oscillator.CurveShape2, 6));
    setText(NoiseFactorBox, FormatGeneral(oscillator.NoiseBW, 6));
    setText(NoiseTypeBox, FormatInt(oscillator.NoiseChangeRate));
    static_cast<QCheckBox*>(controls_.value(LoopWavBox))->setChecked(oscillator.LoopWav != 0);
    static_cast<QSlider*>(controls_.value(ShapeSlider))
        ->setValue(ShapeSliderPosition(oscillator.CurveShape2));
}

void CWaveformPage::UpdateWavControls() {
    const bool wavFile = static_cast<QPushButton*>(controls_.value(WavFileButton))->isChecked();
    for (const int id : {LoopWavBox, WavFileBox, BrowseButton}) {
        controls_.value(id)->setVisible(wavFile);
    }
    Preview()->update();
    auto* fileBox = static_cast<QLineEdit*>(controls_.value(WavFileBox));
    fileBox->setText(QString::fromLocal8Bit(GetText(oscillator_->WavFile)));
    fileBox->end(false); // the file name at the end of a long path stays in view
}

} // namespace kettrik
