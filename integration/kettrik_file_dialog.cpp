#include "integration/kettrik_file_dialog.h"

#include <algorithm>

#include <QCheckBox>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QPlainTextEdit>
#include <QPushButton>

#include "engine/temp_wav_file.h"
#include "engine/wav_writer.h"
#include "model/sound.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"
#include "resources/resource_loader.h"

namespace kettrik {

namespace {

constexpr int PreviewPanelTemplate = 140;
constexpr int CommentBoxId = 1035;
constexpr int PlayButtonId = 1009;
constexpr int AutoPlayBoxId = 1033;

std::string LocalPath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Sounds play the way they are named: a path with ".wav" anywhere after its first character
// is handed to the player as it is, everything else is rendered first.
bool PlaysDirectly(const QString& path) {
    return path.toLower().indexOf(QLatin1String(".wav"), 1) >= 1;
}

// Qt name filters for a pipe-separated filter text ("Description|*.A;*.B||"), each showing
// its description.
QStringList NameFilters(const QString& filter) {
    QStringList result;
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        if (description.isEmpty()) {
            break; // "||" ends the list
        }
        QStringList patterns;
        for (const QString& pattern : parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            patterns << pattern.trimmed();
        }
        // With HideNameFilterDetails only the description is shown; the last parenthesised
        // group is what Qt matches.
        result << description + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) +
                      QLatin1Char(')');
    }
    return result;
}

} // namespace

struct CKettrikFileDialog::Preview {
    Sound PreviewSound{};
    TempWavFile TempWav;
    bool Playing = false; // set once the dialog has started a playback; then stopped at the end
    QString CurrentFile;  // the file selected in the list; empty for a folder or nothing
};

CKettrikFileDialog::CKettrikFileDialog(bool openFileDialog, const QString& defaultExtension,
                                       const QString& fileName, int flags, const QString& filter,
                                       QWidget* parent, SettingsStore& settings,
                                       AudioPlayer& player)
    : QFileDialog(parent), settings_(settings), player_(player),
      preview_(std::make_unique<Preview>()) {
    // Qt's own dialog, since the preview panel goes inside it.
    setOption(QFileDialog::DontUseNativeDialog);
    setOption(QFileDialog::HideNameFilterDetails);
    // Users name their files in whatever case their other tools used: kick.ktu and KICK.KTU
    // are both sound files.
    setFilter(QFileDialog::filter() & ~QDir::CaseSensitive);
    // Qt's dialog has no read-only box, so HideReadOnly needs nothing; it asks before
    // overwriting unless told not to.
    setOption(QFileDialog::DontConfirmOverwrite, (flags & OverwritePrompt) == 0);
    setAcceptMode(openFileDialog ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    setFileMode(openFileDialog ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    QString suffix = defaultExtension;
    if (suffix.startsWith(QLatin1Char('.'))) {
        suffix.remove(0, 1);
    }
    setDefaultSuffix(suffix);
    const QStringList nameFilters = NameFilters(filter);
    if (!nameFilters.isEmpty()) {
        setNameFilters(nameFilters);
    }
    if (!fileName.isEmpty()) {
        selectFile(fileName);
    }

    BuildPreviewPanel();
    autoPlayBox_->setChecked(settings_.GetInt(settings::FileDialog, settings::AutoPlay, 1) != 0);
    ConnectSignals();
}

CKettrikFileDialog::~CKettrikFileDialog() {
    if (preview_->Playing) {
        player_.Stop();
    }
    // The preview's TempWavFile deletes the last rendered file as it goes.
}

QString CKettrikFileDialog::PathName() const {
    const QStringList files = selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

void CKettrikFileDialog::BuildPreviewPanel() {
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("previewPanel"));
    panel->setFont(DialogFont());
    const DialogTemplate layout = LoadDialogTemplate(PreviewPanelTemplate);
    const QHash<int, QWidget*> controls = BuildDialogControls(panel, layout);
    panel->setFixedSize(DialogUnits(panel->font()).Rect(0, 0, layout.Width, layout.Height).size());
    commentBox_ = qobject_cast<QPlainTextEdit*>(controls.value(CommentBoxId));
    playButton_ = qobject_cast<QPushButton*>(controls.value(PlayButtonId));
    autoPlayBox_ = qobject_cast<QCheckBox*>(controls.value(AutoPlayBoxId));
    Q_ASSERT(commentBox_ && playButton_ && autoPlayBox_);

    // Below everything of Qt's own, on the left; the label column is made as wide as the
    // space before the comment box, so the box lines up with the file name box above it.
    if (auto* grid = qobject_cast<QGridLayout*>(QFileDialog::layout())) {
        grid->addWidget(panel, grid->rowCount(), 0, 1, grid->columnCount(),
                        Qt::AlignLeft | Qt::AlignTop);
        grid->setColumnMinimumWidth(0, std::max(0, commentBox_->x() - grid->horizontalSpacing()));
    }
}

void CKettrikFileDialog::ConnectSignals() {
    connect(this, &QFileDialog::currentChanged, this, &CKettrikFileDialog::OnSelectionChanged);
    connect(autoPlayBox_, &QCheckBox::clicked, this, &CKettrikFileDialog::OnAutoPlayClicked);
    connect(playButton_, &QPushButton::clicked, this, &CKettrikFileDialog::Play);
}

void CKettrikFileDialog::OnAutoPlayClicked(bool checked) {
    settings_.WriteString(settings::FileDialog, settings::AutoPlay, checked ? "1" : "0");
}

void CKettrikFileDialog::OnSelectionChanged(const QString& path) {
    // The list reports folders too; they have no comment and nothing to play.
    const QFileInfo info(path);
    if (path.isEmpty() || info.isDir()) {
        preview_->CurrentFile.clear();
        commentBox_->clear();
        return;
    }
    preview_->CurrentFile = path;
    commentBox_->setPlainText(QString::fromStdString(ReadCommentPreview(LocalPath(path))));
    if (autoPlayBox_->isChecked()) {
        Play();
    }
}

void CKettrikFileDialog::Play() {
    const QString path = preview_->CurrentFile;
    if (path.isEmpty()) {
        return;
    }
    if (PlaysDirectly(path)) {
        player_.Play(LocalPath(path));
        preview_->Playing = true;
        return;
    }
    // Silence the old preview before its file is deleted and rendered anew.
    player_.Stop();
    Sound& sound = preview_->PreviewSound;
    LoadSound(LocalPath(path), sound);
    const std::string wavPath = preview_->TempWav.NewName(".wav");
    RenderToWav(wavPath, sound.Oscillators, sound.SampleFrequency, sound.Count);
    player_.Play(wavPath);
    preview_->Playing = true;
}

} // namespace kettrik
