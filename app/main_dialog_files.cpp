// The main window's file commands and the ways it ends: New, Open, Save, Save As, Exit, the
// close box and Escape, each asking before unsaved work is thrown away; the About box and
// the web pages.
#include <QCloseEvent>
#include <QFile>
#include <QMessageBox>
#include <QPushButton>

#include "app/about_dialog.h"
#include "app/main_dialog.h"
#include "app/web_links.h"
#include "integration/kettrik_file_dialog.h"
#include "model/sound_file.h"
#include "platform/settings_store.h"
#include "platform/web_opener.h"

namespace kettrik {

namespace {

constexpr const char* SoundExtension = ".KTU";
constexpr std::int32_t DefaultNewsConnection = 1;

} // namespace

bool CMainDialog::QuerySaveChanges() {
    if (!modified_) {
        return true;
    }
    QMessageBox box(QMessageBox::NoIcon, ProductTitle(false) + QStringLiteral(" wonders..."),
                    QStringLiteral("Save changes to ") +
                        (documentPath_.isEmpty() ? QStringLiteral("(untitled)") : documentPath_),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, this);
    switch (box.exec()) {
    case QMessageBox::Yes:
        // The user picks or confirms the file again. A failed save keeps the sound.
        return SaveAs();
    case QMessageBox::No:
        modified_ = false;
        return true;
    default:
        return false;
    }
}

void CMainDialog::FileNew() {
    if (QuerySaveChanges()) {
        ResetToNewSound();
    }
}

// The file is chosen first and the question comes after: cancelling the file dialog then
// leaves the sound, its "*" and its history exactly as they were.
void CMainDialog::FileOpen() {
    CKettrikFileDialog dialog(
        true, QString::fromLatin1(SoundExtension), QString(), CKettrikFileDialog::HideReadOnly,
        QString::fromLatin1(CKettrikFileDialog::SoundFilter), this, settings_, player_);
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    const QString path = dialog.PathName();
    if (QuerySaveChanges()) {
        OpenSoundFile(path);
    }
}

bool CMainDialog::Save() {
    if (documentPath_.isEmpty()) {
        return SaveAs();
    }
    CommitChanges();
    if (!SaveSound(QFile::encodeName(documentPath_).toStdString(), *sound_)) {
        ShowWriteFailure({documentPath_}, false);
        return false;
    }
    modified_ = false;
    UpdateTitle();
    return true;
}

bool CMainDialog::SaveAs() {
    CKettrikFileDialog dialog(
        false, QString::fromLatin1(SoundExtension), QString(),
        CKettrikFileDialog::HideReadOnly | CKettrikFileDialog::OverwritePrompt,
        QString::fromLatin1(CKettrikFileDialog::SoundFilter), this, settings_, player_);
    if (dialog.exec() != QDialog::Accepted) {
        return false;
    }
    const QString path = dialog.PathName();
    CommitChanges();
    // The sound keeps its old file until the new one has really been written.
    if (!SaveSound(QFile::encodeName(path).toStdString(), *sound_)) {
        ShowWriteFailure({path}, false);
        return false;
    }
    documentPath_ = path;
    modified_ = false;
    UpdateTitle();
    return true;
}

void CMainDialog::Exit() {
    if (QuerySaveChanges()) {
        accept();
    }
}

// The close box asks; the platform's close then ends the window through reject(), which
// finds the question settled and does not ask again.
void CMainDialog::closeEvent(QCloseEvent* event) {
    if (!QuerySaveChanges()) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void CMainDialog::reject() {
    if (QuerySaveChanges()) {
        QDialog::reject();
    }
}

void CMainDialog::ShowAbout() {
    CAboutDialog about(*this, ProductTitle(true));
    about.exec();
}

void CMainDialog::OpenWebPage(const QString& address) {
    const std::int32_t connection =
        settings_.GetInt(settings::Kettrik, settings::NewsConnection, DefaultNewsConnection);
    OpenAddress(WebPageAddress(address, buildText_, connection).toStdString());
}

} // namespace kettrik
