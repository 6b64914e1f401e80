#include "editors/waveform_page.h"

#include <algorithm>
#include <cmath>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSlider>

#include "editors/page_controls.h"
#include "editors/wave_preview.h"
#include "engine/wav_reader.h"
#include "integration/kettrik_file_dialog.h"
#include "model/number_text.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int WaveformTemplate = 141;
enum Control {
    ShapeSliderId = 1043,
    ShapeBoxId = 1026,
    PreviewBox = 1007,
    FirstWaveButton = 1050, // Sine; the others follow in waveform order
    WavFileButton = 1054,
    NoiseFactorBox = 1046,
    NoiseTypeBox = 1055,
    NoiseTypeSpin = 1044,
    WavFileBox = 1049,
    LoopWavBox = 1048,
    BrowseButton = 1041,
};

// The spin keeps the platform's default range, in which the up arrow counts down.
constexpr int SpinLowest = 0;
constexpr int SpinHighest = 100;

const QString QuestionCaption = QStringLiteral("Kettrik Orvalene");

QWidget* MakePreview(const ControlTemplate& control, QWidget* parent) {
    return control.Class == QLatin1String("CWavePreview") ? new CWavePreview(parent) : nullptr;
}

} // namespace

CWaveformPage::CWaveformPage(SettingsStore& settings, AudioPlayer& player, QWidget* parent)
    : QWidget(parent), settings_(settings), player_(player) {
    controls_ = BuildPage(this, LoadDialogTemplate(WaveformTemplate), MakePreview);
    ConnectSignals();
}

void CWaveformPage::ConnectSignals() {
    for (int form = Sine; form <= Triangle; ++form) {
        connect(static_cast<QPushButton*>(controls_.value(FirstWaveButton + form)),
                &QPushButton::clicked, this, [this, form] { OnWaveButton(form); });
    }
    connect(static_cast<QPushButton*>(controls_.value(WavFileButton)), &QPushButton::clicked, this,
            &CWaveformPage::OnWavFileButton);
    connect(static_cast<QPushButton*>(controls_.value(BrowseButton)), &QPushButton::clicked, this,
            &CWaveformPage::Browse);
    connect(ShapeSlider(), &QSlider::valueChanged, this, &CWaveformPage::OnSliderMoved);
    connect(ShapeBox(), &QLineEdit::textChanged, this, &CWaveformPage::OnShapeBoxChanged);
    connect(Box(NoiseFactorBox), &QLineEdit::textChanged, this,
            &CWaveformPage::OnNoiseFactorChanged);
    connect(Box(NoiseTypeBox), &QLineEdit::textChanged, this, &CWaveformPage::OnNoiseTypeChanged);
    connect(static_cast<UpDownControl*>(controls_.value(NoiseTypeSpin)), &UpDownControl::stepped,
            this, &CWaveformPage::OnNoiseTypeStepped);
    connect(static_cast<QCheckBox*>(controls_.value(LoopWavBox)), &QCheckBox::clicked, this,
            &CWaveformPage::OnLoopWavClicked);
    connect(Preview(), &CWavePreview::shapeDragged, this, &CWaveformPage::OnShapeDragged);
}

CWavePreview* CWaveformPage::Preview() const {
    return static_cast<CWavePreview*>(controls_.value(PreviewBox));
}
QSlider* CWaveformPage::ShapeSlider() const {
    return static_cast<QSlider*>(controls_.value(ShapeSliderId));
}
QLineEdit* CWaveformPage::ShapeBox() const {
    return Box(ShapeBoxId);
}
QLineEdit* CWaveformPage::Box(int id) const {
    return static_cast<QLineEdit*>(controls_.value(id));
}

void CWaveformPage::SelectWaveButton(int waveForm) {
    static_cast<QPushButton*>(controls_.value(FirstWaveButton + waveForm))->setChecked(true);
}

bool CWaveformPage::WavButtonSelected() const {
    return static_cast<QPushButton*>(controls_.value(WavFileButton))->isChecked();
}

void CWaveformPage::BindWaveform(Oscillator& oscillator) {
    oscillator_ = &oscillator;
    Preview()->Bind(oscillator);
    if (oscillator.WaveForm >= Sine && oscillator.WaveForm <= WavFileWave) {
        SelectWaveButton(oscillator.WaveForm);
    }
    UpdateWavControls();
    changeHandling_ = true;
    // Written like typed text: the stored shape and noise take the values of their texts.
    const auto write = [this](int id, const std::string& text) {
        QLineEdit* box = Box(id);
        const QSignalBlocker blocker(box);
        box->setText(QString::fromStdString(text));
    };
    write(ShapeBoxId, FormatGeneral(oscillator.CurveShape2, 6));
    OnShapeBoxChanged();
    write(NoiseFactorBox, FormatGeneral(oscillator.NoiseBW, 6));
    OnNoiseFactorChanged();
    write(NoiseTypeBox, FormatInt(oscillator.NoiseChangeRate));
    OnNoiseTypeChanged();
    static_cast<QCheckBox*>(controls_.value(LoopWavBox))->setChecked(oscillator.LoopWav != 0);
}

void CWaveformPage::UpdateWavControls() {
    const bool wavFile = WavButtonSelected();
    for (const int id : {LoopWavBox, WavFileBox, BrowseButton}) {
        controls_.value(id)->setVisible(wavFile);
    }
    Preview()->update();
    if (oscillator_ == nullptr) {
        return;
    }
    QLineEdit* fileBox = Box(WavFileBox);
    fileBox->setText(QString::fromLocal8Bit(GetText(oscillator_->WavFile)));
    fileBox->end(false); // the file name at the end of a long path stays in view
}

void CWaveformPage::OnWaveButton(int waveForm) {
    if (oscillator_ == nullptr) {
        return;
    }
    oscillator_->WaveForm = waveForm;
    UpdateWavControls();
}

void CWaveformPage::OnWavFileButton() {
    if (oscillator_ == nullptr) {
        return;
    }
    if (GetText(oscillator_->WavFile).size() < 2) {
        Browse();
    }
    if (GetText(oscillator_->WavFile).size() > 1) {
        oscillator_->WaveForm = WavFileWave;
    } else {
        oscillator_->WaveForm = Sine;
        SelectWaveButton(Sine);
    }
    UpdateWavControls();
}

void CWaveformPage::Browse() {
    if (oscillator_ == nullptr) {
        return;
    }
    Oscillator& o = *oscillator_;
    {
        CKettrikFileDialog dialog(
            true, QStringLiteral(".WAV"), QString(), CKettrikFileDialog::HideReadOnly,
            QString::fromLatin1(CKettrikFileDialog::WaveFilter), this, settings_, player_);
        if (dialog.exec() == QDialog::Accepted) {
            const QString path = dialog.PathName();
            const QByteArray encoded = QFile::encodeName(path);
            if (encoded.size() > WavPathLimit) {
                // Cutting the path would name another file; the old choice stays.
                QMessageBox::warning(this, QuestionCaption,
                                     QStringLiteral("The path of this WAV file is longer than %1 "
                                                    "characters, which is more than a sound can "
                                                    "hold. Please move or rename the file:\n%2")
                                         .arg(WavPathLimit)
                                         .arg(path));
            } else {
                SetText(o.WavFile, std::string_view(encoded.constData(),
                                                    static_cast<std::size_t>(encoded.size())));
                o.WaveForm = WavFileWave;
                SelectWaveButton(WavFileWave);
            }
        }
    }
    if (GetText(o.WavFile).size() > 1) {
        OpenWavSource(o);
        const WavSource& source = o.Render.Source;
        if (source.Cache == nullptr) {
            SetText(o.WavFile, "");
        } else if (QMessageBox::question(
                       this, QuestionCaption,
                       QStringLiteral("Set this oscillator to the sampling frequency and length "
                                      "of the WAV file?"),
                       QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes &&
                   source.SampleRate > 0) {
            o.StartF = source.SampleRate;
            o.EndF = source.SampleRate;
            o.EndT = static_cast<double>(source.FrameCount) * 1000.0 / source.SampleRate + o.StartT;
        }
        CloseWavSource(o);
    }
    if (GetText(o.WavFile).size() < 2) {
        o.WaveForm = Sine;
        SelectWaveButton(Sine);
    }
    UpdateWavControls();
}

void CWaveformPage::OnSliderMoved(int position) {
    if (!changeHandling_ || oscillator_ == nullptr) {
        return;
    }
    oscillator_->CurveShape2 = std::pow(10.0, position * 0.02);
    Preview()->update();
    changeHandling_ = false;
    ShapeBox()->setText(QString::fromStdString(FormatGeneral(oscillator_->CurveShape2, 3)));
    changeHandling_ = true;
}

void CWaveformPage::OnShapeBoxChanged() {
    if (!changeHandling_ || oscillator_ == nullptr) {
        return;
    }
    oscillator_->CurveShape2 = ParseReal(ShapeBox()->text().toStdString());
    Preview()->update();
    const QSignalBlocker blocker(ShapeSlider());
    ShapeSlider()->setValue(ShapeSliderPosition(oscillator_->CurveShape2));
}

void CWaveformPage::OnNoiseFactorChanged() {
    if (!changeHandling_ || oscillator_ == nullptr) {
        return;
    }
    oscillator_->NoiseBW = ParseReal(Box(NoiseFactorBox)->text().toStdString());
    Preview()->update();
}

void CWaveformPage::OnNoiseTypeChanged() {
    if (!changeHandling_ || oscillator_ == nullptr) {
        return;
    }
    // Truncated towards zero, held within 32 bits: 2.7 is 2, -1.5 is -1.
    const double typed = ParseReal(Box(NoiseTypeBox)->text().toStdString());
    oscillator_->NoiseChangeRate =
        static_cast<std::int32_t>(std::trunc(std::clamp(typed, -2147483648.0, 2147483647.0)));
}

void CWaveformPage::OnNoiseTypeStepped(int delta) {
    QLineEdit* box = Box(NoiseTypeBox);
    const int position = std::clamp(ParseInt(box->text().toStdString()), SpinLowest, SpinHighest);
    box->setText(
        QString::fromStdString(FormatInt(std::clamp(position - delta, SpinLowest, SpinHighest))));
}

void CWaveformPage::OnLoopWavClicked(bool checked) {
    if (oscillator_ != nullptr) {
        oscillator_->LoopWav = checked ? 1 : 0;
    }
}

void CWaveformPage::OnShapeDragged(double shape) {
    // Through the box, like typing: the stored shape is its three-digit text.
    ShapeBox()->setText(QString::fromStdString(FormatGeneral(shape, 3)));
}

} // namespace kettrik
