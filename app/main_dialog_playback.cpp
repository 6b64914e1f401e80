// The main window's sound commands: Play, the tempo loop, writing WAV files (also the
// plug-in's "Save WAV and Return"), Normalize and the sample frequency.
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "app/main_dialog.h"
#include "app/render_view.h"
#include "app/tempo_loop.h"
#include "editors/envelope_page.h"
#include "editors/time_edit.h"
#include "engine/wav_writer.h"
#include "integration/kettrik_file_dialog.h"
#include "model/number_text.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"

namespace kettrik {

namespace {

constexpr int TempoBox = 1058;
constexpr int TempoLoopButton = 1060;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

} // namespace

void CMainDialog::Play() {
    CommitChanges();
    if (needsRender_) {
        const std::string path = tempWavFile_.NewName(".wav");
        if (path.empty()) {
            return;
        }
        const SampleHook hook = renderView_->BeginRender(*sound_);
        const RenderOutcome outcome =
            RenderToWav(path, sound_->Oscillators, sound_->SampleFrequency, sound_->Count, &hook);
        renderView_->update();
        // A file that could not be written is never played; the next Play tries again.
        if (!outcome.Written) {
            return;
        }
        needsRender_ = false;
    }
    player_.Play(tempWavFile_.CurrentName());
}

void CMainDialog::TempoChanged() {
    const double longestEndT = LongestSoundingEndT(*sound_);
    const QString text = static_cast<QLineEdit*>(Control(TempoBox))->text();
    const double tempo = ParseReal(text.toStdString());
    envelopePage_->StartTimeEdit()->Tempo = tempo;
    envelopePage_->EndTimeEdit()->Tempo = tempo;
    tempoTimer_.stop();
    const std::optional<int> period = kettrik::TempoLoopPeriod(tempo, longestEndT);
    const bool loopOn = static_cast<QPushButton*>(Control(TempoLoopButton))->isChecked();
    if (loopOn && !text.isEmpty() && period) {
        tempoTimer_.start(*period);
    }
}

void CMainDialog::WriteWavFile() {
    if (pluginMode_) {
        SaveWavAndReturn();
    } else {
        ExportWav();
    }
}

void CMainDialog::ExportWav() {
    CKettrikFileDialog dialog(
        false, QStringLiteral(".WAV"), QString(),
        CKettrikFileDialog::HideReadOnly | CKettrikFileDialog::OverwritePrompt,
        QString::fromLatin1(CKettrikFileDialog::WaveFilter), this, settings_, player_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString path = dialog.PathName();
    CommitChanges();
    const SampleHook hook = renderView_->BeginRender(*sound_);
    const RenderOutcome outcome = RenderToWav(LocalPath(path), sound_->Oscillators,
                                              sound_->SampleFrequency, sound_->Count, &hook);
    renderView_->update();
    if (!outcome.Written) {
        ShowWriteFailure({path}, false);
    }
}

void CMainDialog::SaveWavAndReturn() {
    CommitChanges();
    const SampleHook hook = renderView_->BeginRender(*sound_);
    const bool soundSaved = SaveSound(LocalPath(pluginSoundPath_), *sound_);
    const RenderOutcome outcome = RenderToWav(LocalPath(pluginWavPath_), sound_->Oscillators,
                                              sound_->SampleFrequency, sound_->Count, &hook);
    renderView_->update();
    if (soundSaved && outcome.Written) {
        modified_ = false;
        needsRender_ = false;
        reject();
        return;
    }
    // Ending now would lose the user's sound: stay open so they can retry or leave.
    if (soundSaved && modified_) {
        modified_ = false;
        UpdateTitle();
    }
    QStringList failed;
    if (!soundSaved) {
        failed << pluginSoundPath_;
    }
    if (!outcome.Written) {
        failed << pluginWavPath_;
    }
    ShowWriteFailure(failed, true);
}

void CMainDialog::ShowWriteFailure(const QStringList& paths, bool staysOpen) {
    QString text = paths.size() == 1 ? QStringLiteral("Could not write the file\n\n")
                                     : QStringLiteral("Could not write the files\n\n");
    text += paths.join(QLatin1Char('\n'));
    if (staysOpen) {
        text += QStringLiteral("\n\nKettrik Orvalene stays open, so you can try again.");
    }
    QMessageBox::warning(this, ProductTitle(false), text);
}

void CMainDialog::Normalize() {
    CommitChanges();
    const std::string path = tempWavFile_.NewName(".wav");
    if (path.empty()) {
        return;
    }
    const RenderOutcome outcome =
        RenderToWav(path, sound_->Oscillators, sound_->SampleFrequency, sound_->Count);
    if (outcome.Written && outcome.Peak > 0.0) {
        for (int i = 0; i < ClampCount(sound_->Count); ++i) {
            Oscillator& oscillator = sound_->Oscillators[i];
            if (oscillator.Enabled == On && oscillator.Filter == 0) {
                oscillator.StartA /= outcome.Peak;
                oscillator.EndA /= outcome.Peak;
            }
        }
    }
    ShowOscillator(SelectedOscillator());
}

void CMainDialog::SetSampleFrequency(int hertz) {
    sound_->SampleFrequency = hertz;
    CheckSampleFrequencyMenu();
    CommitChanges();
}

} // namespace kettrik
