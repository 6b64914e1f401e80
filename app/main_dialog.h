// The program's one window: the oscillator tab row, the parameter tab row with its two pages,
// the state and role buttons, and Play, the tempo loop and WAV export below.
//
// The window owns the sound being edited. The oscillator being edited is always the one whose
// tab is selected; the pages edit its fields in place and end each gesture with
// CommitChanges, which finds what changed by comparing the table with a snapshot.
#pragma once

#include <memory>
#include <optional>

#include <QDialog>
#include <QHash>
#include <QString>
#include <QTimer>

#include "app/command_line.h"
#include "editors/editor_host.h"
#include "engine/temp_wav_file.h"
#include "model/oscillator_editing.h"
#include "model/snapshot.h"
#include "model/sound.h"
#include "model/undo_history.h"

class QAction;
class QMenu;
class QMenuBar;
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

    // Editing the table; a position of nullopt means the selected oscillator. Insert and
    // paste tell the user when the table is full and change nothing.
    void InsertOscillator(const Oscillator* record = nullptr,
                          std::optional<int> position = std::nullopt);
    void DeleteOscillator(std::optional<int> position = std::nullopt);
    void Undo();
    void Copy();
    void Cut();
    void Paste();

    // The file commands. Each returns true when it went through.
    bool QuerySaveChanges();
    void FileNew();
    void FileOpen();
    bool Save();
    bool SaveAs();
    void Exit();
    void ShowAbout();
    // Escape and the default close: end the window once the save question is settled.
    void reject() override;

    // The only way a web page is opened: the address gets the build and the user's
    // connection type as its query.
    void OpenWebPage(const QString& address);

    // Carries out a command of the menu bar, the accelerators or the tab context menu.
    void ExecuteCommand(int command);

    // Commands of the buttons.
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

    bool HoldsClipboardOscillator() const { return clipboard_.Holds; }
    const UndoHistory& History() const { return history_; }

    QWidget* Control(int id) const { return controls_.value(id); }
    QMenuBar* MenuBar() const { return menuBar_; }
    // The menu bar's action for a command, or null.
    QAction* MenuCommand(int command) const;
    QTabBar* OscillatorTabs() const;
    QTabBar* ParameterTabBar() const;
    CEnvelopePage* EnvelopePage() const { return envelopePage_; }
    CWaveformPage* WaveformPage() const { return waveformPage_; }
    RenderView* RenderArea() const { return renderView_; }
    CBannerFlash* BannerFlash() const { return banner_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildWindow();
    void BuildMenus();
    void ConnectSignals();
    void RunCommandLine(const StartupCommand& command);

    void OnOscillatorTabChosen(int index);
    void OnParameterTabChosen();
    void OnEnabledButton(std::int32_t state);
    void OnRoleButton(std::int32_t filter);
    void OnSolo(bool on);

    void ShowTabContextMenu(const QPoint& globalPosition);
    void OnOscillatorTabKey(int key);
    bool TellTableIsFull();

    void SaveWavAndReturn();
    void ExportWav();
    void ClearHistory();
    void SelectOscillatorTab(int index);
    void ShowWriteFailure(const QStringList& paths, bool staysOpen);
    void OnBannerCommand(const QString& command, const QString& arguments);

    void RegisterTuaregPluginAtStartup();
    void CheckNewsSchedule();

    SettingsStore& settings_;
    AudioPlayer& player_;
    std::unique_ptr<Sound> sound_;
    std::unique_ptr<Snapshot> snapshot_;
    UndoHistory history_;
    OscillatorClipboard clipboard_;
    int lastOscillatorTab_ = 0; // where a refused "New" puts the selection back
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

    QMenuBar* menuBar_ = nullptr;
    QVector<std::pair<QAction*, int>> accelerators_; // window-wide keys and their commands
    QWidget* client_ = nullptr; // the template's area; the menu bar goes above it
    QHash<int, QWidget*> controls_;
    CEnvelopePage* envelopePage_ = nullptr;
    CWaveformPage* waveformPage_ = nullptr;
    RenderView* renderView_ = nullptr;
    CBannerFlash* banner_ = nullptr;
};

} // namespace kettrik
