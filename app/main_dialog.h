// The program's one window: the oscillator tab row, the parameter tab row with its two pages,
// the state and role buttons, and Play, the tempo loop and WAV export below.
//
// The window owns the sound being edited. The oscillator being edited is always the one whose
// tab is selected; the pages edit its fields in place and end each gesture with
// CommitChanges, which finds what changed by comparing the table with a snapshot.
#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QHash>
#include <QString>
#include <QTimer>

#include "app/command_line.h"
#include "editors/editor_host.h"
#include "engine/temp_wav_file.h"
#include "model/snapshot.h"
#include "model/sound.h"

class QPushButton;
class QTabBar;

namespace kettrik {

class AudioPlayer;
class CBannerFlash;
class CEnvelopePage;
class CWaveformPage;
class RenderView;
class SettingsStore;

class CMainDialog : public QDialog, public EditorHost {
    Q_OBJECT
public:
    // Builds the window and runs its start-up: a new sound, then the command line.
    CMainDialog(SettingsStore& settings, AudioPlayer& player, const StartupCommand& command,
                QWidget* parent = nullptr);
    ~CMainDialog() override;

    // Replacing the whole sound.
    void OpenSoundFile(const QString& path);
    void ResetToNewSound();

    // Showing the table.
    void ShowOscillator(int index);
    void RebuildOscillatorTabs();
    void SetupParameterTabs(int index);
    int SelectedOscillator() const;
    void UpdateTitle();
    QString ProductTitle(bool withBuild) const;

    // Recording an edit: sets NeedsRender and Modified when the sound changed.
    void CommitChanges() override;

    // Commands of the buttons and, later, of the menus.
    void Play();
    void TempoChanged();
    void WriteWavFile(); // the button 1061: Write WAV, or Save WAV and Return in plug-in mode
    void Normalize();
    void SetSampleFrequency(int hertz);
    void CheckSampleFrequencyMenu();

    // The news and the Tuareg plug-in registration, for the menus.
    void GetNewsNow();
    void EditNewsSettings();
    void RegisterTuaregPluginFromMenu();
    // What opens web pages for the banner's buttons and the Tuareg questions.
    void SetWebPageOpener(std::function<void(const QString& address)> opener);

    // State, for the menus and for tests.
    Sound& CurrentSound() { return *sound_; }
    bool NeedsRender() const { return needsRender_; }
    bool Modified() const { return modified_; }
    const QString& DocumentPath() const { return documentPath_; }
    bool PluginMode() const { return pluginMode_; }
    const QString& PluginWavPath() const { return pluginWavPath_; }
    const QString& PluginSoundPath() const { return pluginSoundPath_; }
    const std::string& PlaybackFile() const { return tempWavFile_.Name(); }
    bool TempoLoopRunning() const { return tempoTimer_.isActive(); }
    int TempoLoopPeriod() const { return tempoTimer_.interval(); }
    double ValueRange(int parameterTab) const { return valueRanges_[parameterTab == 0 ? 0 : 1]; }

    QWidget* Control(int id) const { return controls_.value(id); }
    QTabBar* OscillatorTabs() const;
    QTabBar* ParameterTabBar() const;
    CEnvelopePage* EnvelopePage() const { return envelopePage_; }
    CWaveformPage* WaveformPage() const { return waveformPage_; }
    RenderView* RenderArea() const { return renderView_; }
    CBannerFlash* BannerFlash() const { return banner_; }

private:
    void BuildWindow();
    void ConnectSignals();
    void RunCommandLine(const StartupCommand& command);

    void OnOscillatorTabChosen(int index);
    void OnParameterTabChosen();
    void OnEnabledButton(std::int32_t state);
    void OnRoleButton(std::int32_t filter);
    void OnSolo(bool on);

    void SaveWavAndReturn();
    void ExportWav();
    bool RecordUndoStep(const TableChange& change);
    void ClearHistory();
    void SelectOscillatorTab(int index);
    void ShowWriteFailure(const QStringList& paths, bool staysOpen);
    void OnBannerCommand(const QString& command, const QString& arguments);
    void OpenWebPage(const QString& address) const;

    void RegisterTuaregPluginAtStartup();
    void CheckNewsSchedule();

    SettingsStore& settings_;
    AudioPlayer& player_;
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<Snapshot> snapshot_;
    bool needsRender_ = false;
    bool modified_ = false;
    QString documentPath_;
    TempWavFile tempWavFile_;
    QTimer tempoTimer_;
    double valueRanges_[2] = {0.0, 0.0};

    QString versionText_;
    QString buildText_;
    bool pluginMode_ = false;
    QString pluginWavPath_;
    QString pluginSoundPath_;

    QWidget* client_ = nullptr; // the template's area; the menu bar goes above it
    QHash<int, QWidget*> controls_;
    CEnvelopePage* envelopePage_ = nullptr;
    CWaveformPage* waveformPage_ = nullptr;
    RenderView* renderView_ = nullptr;
    CBannerFlash* banner_ = nullptr;
    std::function<void(const QString&)> openWebPage_;
};

} // namespace kettrik
