// The file chooser with preview, driven like a user: real files in a temporary folder,
// clicks in Qt's file list, the preview panel's own buttons.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "engine/temp_wav_file.h"
#include "engine/wav_writer.h"
#include "gui/gui_test_support.h"
#include "integration/kettrik_file_dialog.h"
#include "model/sound.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using kettrik::CKettrikFileDialog;

namespace {

const QString KickComment = QStringLiteral("Kick: a falling sine body with a short click on top");

QString Example(const char* name) {
    return QStringLiteral(EXAMPLES_DIR "/") + name;
}

std::string Local(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

// Renders a sound into a WAV file; returns the samples written.
std::int32_t RenderExample(const char* example, const QString& wavPath) {
    auto sound = std::make_unique<kettrik::Sound>();
    kettrik::LoadSound(Local(Example(example)), *sound);
    return kettrik::RenderToWav(Local(wavPath), sound->Oscillators, sound->SampleFrequency,
                                sound->Count)
        .Samples;
}

QStringList TempWavFiles() {
    return QDir(QString::fromStdString(kettrik::PrivateTempFolder()))
        .entryList({QStringLiteral("*.wav")}, QDir::Files);
}

} // namespace

class FileDialogTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder_;
    std::unique_ptr<kettrik::SettingsStore> settings_;
    std::unique_ptr<kettrik::AudioPlayer> player_;

    QString Path(const QString& name) const { return folder_->filePath(name); }

    std::unique_ptr<CKettrikFileDialog> Show(bool open, const char* extension, const char* filter,
                                             const QString& directory = QString()) {
        auto dialog = std::make_unique<CKettrikFileDialog>(
            open, QString::fromLatin1(extension), QString(),
            CKettrikFileDialog::HideReadOnly | (open ? 0 : CKettrikFileDialog::OverwritePrompt),
            QString::fromLatin1(filter), nullptr, *settings_, *player_);
        dialog->setDirectory(directory.isEmpty() ? folder_->path() : directory);
        dialog->show();
        if (!QTest::qWaitForWindowExposed(dialog.get())) {
            return nullptr;
        }
        return dialog;
    }
    std::unique_ptr<CKettrikFileDialog> ShowSoundOpen(const QString& directory = QString()) {
        return Show(true, ".KTU", CKettrikFileDialog::SoundFilter, directory);
    }

    static QListView* List(QFileDialog& dialog) {
        return dialog.findChild<QListView*>(QStringLiteral("listView"));
    }
    static QPlainTextEdit* CommentBox(QFileDialog& dialog) {
        return dialog.findChild<QPlainTextEdit*>(QStringLiteral("c1035"));
    }
    static QPushButton* PlayButton(QFileDialog& dialog) {
        return dialog.findChild<QPushButton*>(QStringLiteral("c1009"));
    }
    static QCheckBox* AutoPlayBox(QFileDialog& dialog) {
        return dialog.findChild<QCheckBox*>(QStringLiteral("c1033"));
    }

    // The names of the files (not folders) the list shows, once the folder has been read.
    static QStringList ListedFiles(QFileDialog& dialog) {
        QListView* list = List(dialog);
        auto* model = qobject_cast<QFileSystemModel*>(list->model());
        QStringList names;
        const QModelIndex root = list->rootIndex();
        for (int row = 0; row < model->rowCount(root); ++row) {
            const QModelIndex index = model->index(row, 0, root);
            if (!model->isDir(index)) {
                names << model->fileName(index);
            }
        }
        names.sort();
        return names;
    }

    // Clicks the entry in the list, as the user would.
    static bool Click(QFileDialog& dialog, const QString& path) {
        QListView* list = List(dialog);
        auto* model = qobject_cast<QFileSystemModel*>(list->model());
        QRect rect;
        const bool shown = QTest::qWaitFor([&] {
            rect = list->visualRect(model->index(path));
            return rect.isValid() && !rect.isEmpty();
        });
        if (!shown) {
            return false;
        }
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
        return list->currentIndex() == model->index(path);
    }

    static QPushButton* DialogButton(QFileDialog& dialog, QDialogButtonBox::StandardButton which) {
        return dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"))->button(which);
    }

private slots:
    void init() {
        folder_ = std::make_unique<QTemporaryDir>();
        settings_ = std::make_unique<kettrik::SettingsStore>(Local(Path("settings.ini")));
        player_ = std::make_unique<kettrik::AudioPlayer>();
        QVERIFY(QFile::copy(Example("kick.ktu"), Path("kick.ktu")));
    }
    void cleanup() {
        player_.reset();
        settings_.reset();
        folder_.reset();
    }

    void selectingSoundShowsCommentAndPlaysItsRender() {
        const std::int32_t samples = RenderExample("kick.ktu", Path("reference.wav"));
        QVERIFY(samples > 0);
        auto dialog = ShowSoundOpen();
        QVERIFY(dialog);
        QVERIFY(AutoPlayBox(*dialog)->isChecked()); // no AutoPlay key yet: on
        QVERIFY(Click(*dialog, Path("kick.ktu")));

        QCOMPARE(CommentBox(*dialog)->toPlainText(), KickComment);
        const QString played = QString::fromStdString(player_->CurrentPath());
        QVERIFY2(played.endsWith(QLatin1String(".wav")), qPrintable(played));
        QCOMPARE(QFileInfo(played).absolutePath(),
                 QString::fromStdString(kettrik::PrivateTempFolder()));
        QFile wav(played);
        QVERIFY(wav.open(QIODevice::ReadOnly));
        const QByteArray header = wav.read(12);
        QCOMPARE(header.left(4), QByteArray("RIFF"));
        QCOMPARE(header.mid(8, 4), QByteArray("WAVE"));
        QCOMPARE(wav.size(), 44 + 2 * qint64{samples});

        kettrik::test::SaveScreenshot(dialog.get(), QStringLiteral("file_dialog_open"));
    }

    void pathsNamingWavPlayDirectly_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("filter");
        QTest::newRow("upper-case WAV file") << ""
                                             << "KICK.WAV" << CKettrikFileDialog::WaveFilter;
        // The path decides, not the extension: a file in a folder named old.wave. Its content
        // is a WAV so the player takes it; a render would have handed over a temporary file.
        QTest::newRow("sound in an old.wave folder")
            << "old.wave"
            << "kick.ktu" << CKettrikFileDialog::SoundFilter;
    }
    void pathsNamingWavPlayDirectly() {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, filter);
        QVERIFY(QDir(folder_->path()).mkpath(folder.isEmpty() ? QStringLiteral(".") : folder));
        const QString directory = QDir(folder_->path()).filePath(folder);
        const QString path = QDir(directory).filePath(file);
        QFile::remove(path);
        QVERIFY(RenderExample("snare.ktu", path) > 0);
        const QStringList tempFilesBefore = TempWavFiles();

        auto dialog = Show(true, ".WAV", qPrintable(filter), directory);
        QVERIFY(dialog);
        QVERIFY(Click(*dialog, path));

        QCOMPARE(QString::fromStdString(player_->CurrentPath()), QDir::cleanPath(path));
        QCOMPARE(TempWavFiles(), tempFilesBefore);
        QCOMPARE(CommentBox(*dialog)->toPlainText(), QString());
    }

    void selectingFolderPreviewsNothing() {
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("old.wave")));
        auto dialog = ShowSoundOpen();
        QVERIFY(dialog);
        QVERIFY(Click(*dialog, Path("kick.ktu")));
        QVERIFY(Click(*dialog, Path("old.wave")));
        QCOMPARE(CommentBox(*dialog)->toPlainText(), QString());
        const QString played = QString::fromStdString(player_->CurrentPath());
        QVERIFY2(!played.contains(QLatin1String("old.wave")), qPrintable(played));
        QTest::mouseClick(PlayButton(*dialog), Qt::LeftButton);
        QVERIFY(
            !QString::fromStdString(player_->CurrentPath()).contains(QLatin1String("old.wave")));
    }

    void autoPlayIsRememberedAtOnce() {
        auto first = ShowSoundOpen();
        QVERIFY(first);
        QVERIFY(AutoPlayBox(*first)->isChecked());
        QTest::mouseClick(AutoPlayBox(*first), Qt::LeftButton);
        QCOMPARE(settings_->GetString("KettrikFileDialog", "AutoPlay", "missing"), "0");
        first.reset();

        auto second = ShowSoundOpen();
        QVERIFY(second);
        QVERIFY(!AutoPlayBox(*second)->isChecked());
        QVERIFY(Click(*second, Path("kick.ktu")));
        QCOMPARE(CommentBox(*second)->toPlainText(), KickComment);
        QCOMPARE(player_->CurrentPath(), std::string());
        QTest::mouseClick(AutoPlayBox(*second), Qt::LeftButton);
        QCOMPARE(settings_->GetString("KettrikFileDialog", "AutoPlay", "missing"), "1");
    }

    void longCommentIsCutTo127Characters() {
        QString comment;
        for (int i = 0; i < 200; ++i) {
            comment += QChar(u'a' + i % 26);
        }
        QFile file(Path("long.ktp"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[Common]\nSampleFrequency=22050\nOscillators=1\n[Oscillator 0]\nComment=");
        file.write(comment.toLatin1() + "\n");
        file.close();

        auto dialog = ShowSoundOpen();
        QVERIFY(dialog);
        QVERIFY(Click(*dialog, Path("long.ktp")));
        QCOMPARE(CommentBox(*dialog)->toPlainText(), comment.left(127));
    }

    void everyPlayRendersAnew() {
        settings_->WriteString("KettrikFileDialog", "AutoPlay", "0");
        auto dialog = ShowSoundOpen();
        QVERIFY(dialog);
        QVERIFY(Click(*dialog, Path("kick.ktu")));
        QCOMPARE(player_->CurrentPath(), std::string());

        QTest::mouseClick(PlayButton(*dialog), Qt::LeftButton);
        const QString first = QString::fromStdString(player_->CurrentPath());
        QVERIFY(QFile::exists(first));
        QTest::mouseClick(PlayButton(*dialog), Qt::LeftButton);
        const QString second = QString::fromStdString(player_->CurrentPath());
        QVERIFY(second != first);
        QVERIFY(QFile::exists(second));
        QVERIFY(!QFile::exists(first));
        QVERIFY(dialog->isVisible()); // Play is not the dialog's default button
    }

    void closingStopsPreviewAndDeletesItsFile_data() {
        QTest::addColumn<QDialogButtonBox::StandardButton>("button");
        QTest::newRow("Open") << QDialogButtonBox::Open;
        QTest::newRow("Cancel") << QDialogButtonBox::Cancel;
    }
    void closingStopsPreviewAndDeletesItsFile() {
        QFETCH(QDialogButtonBox::StandardButton, button);
        auto dialog = ShowSoundOpen();
        QVERIFY(dialog);
        QVERIFY(Click(*dialog, Path("kick.ktu")));
        const QString temp = QString::fromStdString(player_->CurrentPath());
        QVERIFY(QFile::exists(temp));

        QTest::mouseClick(DialogButton(*dialog, button), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(),
                 button == QDialogButtonBox::Open ? QDialog::Accepted : QDialog::Rejected);
        dialog.reset();
        QCOMPARE(player_->CurrentPath(), std::string());
        QVERIFY(!QFile::exists(temp));
    }

    void filtersMatchEitherCase_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("sound") << CKettrikFileDialog::SoundFilter << "Kettrik files (*.KTU, *.KTP)"
                               << QStringList{"KICK.KTU", "Snare.Ktp", "kick.ktu", "tom.KTP"};
        QTest::newRow("wave") << CKettrikFileDialog::WaveFilter << "Wave files (*.WAV)"
                              << QStringList{"KICK.WAV", "loop.wav"};
    }
    void filtersMatchEitherCase() {
        QFETCH(QString, filter);
        QFETCH(QString, shown);
        QFETCH(QStringList, listed);
        for (const char* name : {"KICK.KTU", "Snare.Ktp", "tom.KTP", "KICK.WAV", "loop.wav",
                                 "notes.txt", "kick.ktu.bak"}) {
            QFile file(Path(QString::fromLatin1(name)));
            if (!file.exists()) {
                QVERIFY(file.open(QIODevice::WriteOnly));
            }
        }
        QVERIFY(QDir(folder_->path()).mkdir(QStringLiteral("drums.KTU")));

        auto dialog = Show(true, ".KTU", qPrintable(filter));
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"))->currentText(),
                 shown);
        QTRY_COMPARE(ListedFiles(*dialog), listed);
    }

    void pathNameAfterOk_data() {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("typed"); // empty: click kick.ktu in the list
        QTest::addColumn<QString>("expected");
        QTest::newRow("open, clicked") << true << ""
                                       << "kick.ktu";
        QTest::newRow("save, no extension") << false << "snare"
                                            << "snare.KTU";
        QTest::newRow("save, own extension") << false << "snare.ktp"
                                             << "snare.ktp";
        QTest::newRow("save, other dot") << false << "snare.v2"
                                         << "snare.v2";
    }
    void pathNameAfterOk() {
        QFETCH(bool, open);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        auto dialog = Show(open, ".KTU", CKettrikFileDialog::SoundFilter);
        QVERIFY(dialog);
        if (typed.isEmpty()) {
            QVERIFY(Click(*dialog, Path("kick.ktu")));
            QTest::mouseClick(DialogButton(*dialog, QDialogButtonBox::Open), Qt::LeftButton);
        } else {
            auto* edit = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            edit->setFocus();
            QTest::keyClicks(edit, typed);
            QTest::keyClick(edit, Qt::Key_Return);
        }
        QCOMPARE(dialog->result(), QDialog::Accepted);
        QCOMPARE(dialog->PathName(), Path(expected));
    }

    void savingOverAFileAsksFirst_data() {
        QTest::addColumn<int>("flags");
        QTest::addColumn<bool>("asks");
        QTest::newRow("OverwritePrompt") << int{CKettrikFileDialog::OverwritePrompt} << true;
        QTest::newRow("no prompt") << 0 << false;
    }
    void savingOverAFileAsksFirst() {
        QFETCH(int, flags);
        QFETCH(bool, asks);
        CKettrikFileDialog dialog(false, ".KTU", QString(),
                                  CKettrikFileDialog::HideReadOnly | flags,
                                  CKettrikFileDialog::SoundFilter, nullptr, *settings_, *player_);
        dialog.setDirectory(folder_->path());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        bool asked = false;
        // The question is modal; answer it "No" from inside its own event loop.
        QTimer answer;
        connect(&answer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                asked = true;
                QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            }
        });
        answer.start(20);
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        edit->setFocus();
        QTest::keyClicks(edit, QStringLiteral("kick.ktu"));
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(asked, asks);
        QCOMPARE(dialog.isVisible(), asks); // "No" keeps the dialog open
    }
};

int main(int argc, char** argv) {
    kettrik::test::PrivateHome home;
    QApplication app(argc, argv);
    FileDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "file_dialog_test.moc"
