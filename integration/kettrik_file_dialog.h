// The program's one file chooser: Qt's own file dialog with a preview panel below its
// controls (the comment of the selected sound, "Play", "Auto Play"). Selecting a sound file
// renders it into a temporary WAV of the dialog's own and plays it; a WAV file plays as it is.
// The sound being edited in the main window is never touched: the preview loads its own copy.
#pragma once

#include <QFileDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QPlainTextEdit;
class QPushButton;

namespace kettrik {

class AudioPlayer;
class SettingsStore;

class CKettrikFileDialog : public QFileDialog {
    Q_OBJECT
public:
    enum Flag { HideReadOnly = 1, OverwritePrompt = 2 };

    // Filters in the form "Description (patterns)|pattern;pattern||".
    static constexpr const char* SoundFilter = "Kettrik files (*.KTU, *.KTP)|*.KTU;*.KTP||";
    static constexpr const char* WaveFilter = "Wave files (*.WAV)|*.WAV||";

    // defaultExtension (".KTU") is appended to a typed name that has none.
    CKettrikFileDialog(bool openFileDialog, const QString& defaultExtension,
                       const QString& fileName, int flags, const QString& filter, QWidget* parent,
                       SettingsStore& settings, AudioPlayer& player);
    ~CKettrikFileDialog() override; // stops a preview that is playing, deletes its file

    // The chosen file's full path, after the dialog ended with OK.
    QString PathName() const;

private:
    void BuildPreviewPanel();
    void ConnectSignals();

    void OnAutoPlayClicked(bool checked);
    void OnSelectionChanged(const QString& path);
    void Play();

    SettingsStore& settings_;
    AudioPlayer& player_;
    QPlainTextEdit* commentBox_ = nullptr;
    QPushButton* playButton_ = nullptr;
    QCheckBox* autoPlayBox_ = nullptr;

    struct Preview;
    std::unique_ptr<Preview> preview_;
};

} // namespace kettrik
