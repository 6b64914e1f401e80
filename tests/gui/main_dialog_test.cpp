// The main window as a user meets it: clicks on tabs and buttons, real sound files, real
// WAV files rendered to disk.
#include <functional>
#include <limits>
#include <memory>
#include <optional>

#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_dialog.h"
#include "app/render_view.h"
#include "app/tempo_loop.h"
#include "editors/curve_display.h"
#include "editors/envelope_page.h"
#include "editors/frequency_edit.h"
#include "editors/waveform_page.h"
#include "engine/temp_wav_file.h"
#include "gui/gui_test_support.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using namespace kettrik;

namespace {

const QString Examples = QStringLiteral(EXAMPLES_DIR);

// A settings file whose news address is empty, so that start-up's news fetch goes nowhere.
std::string OfflineSettings(const QTemporaryDir& folder) {
    const std::string path = folder.filePath(QStringLiteral("settings.ini")).toStdString();
    SettingsStore(path).WriteString(settings::Kettrik, settings::NewsUrl, "");
    return path;
}

// A window as start-up leaves it, with its own settings file and player.
struct Window {
    explicit Window(const StartupCommand& command = {})
        : Settings(OfflineSettings(Folder)),
          Dialog(std::make_unique<CMainDialog>(Settings, Player, command)) {
        Dialog->show();
        if (!QTest::qWaitForWindowExposed(Dialog.get())) {
            qFatal("the window did not show");
        }
    }
    QPushButton* Button(int id) const { return static_cast<QPushButton*>(Dialog->Control(id)); }
    QTabBar* Oscillators() const { return Dialog->OscillatorTabs(); }
    QTabBar* Parameters() const { return Dialog->ParameterTabBar(); }
    void ClickTab(QTabBar* row, int index) const {
        QTest::mouseClick(row, Qt::LeftButton, {}, row->tabRect(index).center());
    }
    QStringList TabTexts(QTabBar* row) const {
        QStringList texts;
        for (int i = 0; i < row->count(); ++i) {
            texts << row->tabText(i);
        }
        return texts;
    }
    QList<int> TabImages(QTabBar* row) const {
        QList<int> images;
        for (int i = 0; i < row->count(); ++i) {
            images << row->tabData(i).toInt();
        }
        return images;
    }
    QTemporaryDir Folder;
    SettingsStore Settings;
    AudioPlayer Player;
    std::unique_ptr<CMainDialog> Dialog;
};

StartupCommand OpenCommand(const QString& path) {
    StartupCommand command;
    command.Form = StartupCommand::Kind::OpenFile;
    command.FilePath = path;
    return command;
}

// Writes a sound of `count` oscillators, each changed by `edit`, and returns its path.
template <typename Edit>
QString WriteSound(const QTemporaryDir& folder, const QString& name, int count, Edit edit) {
    auto sound = std::make_unique<Sound>();
    NewSound(*sound);
    sound->Count = count;
    for (int i = 0; i < count; ++i) {
        edit(i, sound->Oscillators[i]);
    }
    const QString path = folder.filePath(name);
    if (!SaveSound(path.toStdString(), *sound)) {
        qFatal("could not write the fixture %s", qPrintable(path));
    }
    return path;
}

} // namespace

class MainDialogTest : public QObject {
    Q_OBJECT
private slots:
    void startUpShowsOneOscillatorAndTheFrequencyPage();
    void choosingNewAddsAnOffOscillator();
    void filterButtonSwitchesTabsAndNotes();
    void parameterTabFollowsTheRoleBetweenOscillators();
    void tabImagesFollowStateAndRole();
    void soloCrossesOutTheOthers();
    void pageAreaFollowsTabAndState();
    void modulationListAndCommentBox();
    void fullTableRefusesNew();
    void openingAMissingFileGivesOneOffOscillator();
    void openingAFileSetsTheTimeRange();
    void commandLineForms();
    void quotedPathWithBlanksOpens();
    void pluginModeSavesBothFilesAndEnds();
    void pluginModeWithExistingSoundLoadsIt();
    void pluginModeThatCannotWriteStaysOpen();
    void writeWavWritesTheChosenFile();
    void writeWavThatCannotWriteSaysSo();
    void playRendersOnlyAfterAChange();
    void playWithoutATemporaryFilePlaysNothing();
    void tempoLoopPeriod();
    void tempoLoopStartsOnlyForAUsableTempo();
    void normalizeDividesTheGeneratorsByThePeak();
    void sampleFrequencyChangeIsAnEdit();
    void screenshots();
};

void MainDialogTest::startUpShowsOneOscillatorAndTheFrequencyPage() {
    Window w;
    QCOMPARE(w.TabTexts(w.Oscillators()), (QStringList{"1", "New"}));
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{0, 4}));
    QCOMPARE(w.TabTexts(w.Parameters()), (QStringList{"Frequency", "Amplitude", "Waveshape"}));
    QCOMPARE(w.TabImages(w.Parameters()), (QList<int>{0, 1, 2}));
    QCOMPARE(w.Parameters()->currentIndex(), 0);
    QVERIFY(w.Dialog->EnvelopePage()->isVisible());
    QVERIFY(!w.Dialog->WaveformPage()->isVisible());
    QVERIFY(!w.Dialog->Control(1057)->isVisible());
    QCOMPARE(w.Dialog->EnvelopePage()->CornerIcon(), 135);
    QCOMPARE(w.Dialog->windowTitle(), QStringLiteral("Kettrik Orvalene 5.01 [untitled]"));
    QCOMPARE(w.Button(1061)->text(), QStringLiteral("Write WAV file..."));
    QVERIFY(w.Button(1036)->isChecked());
    QVERIFY(w.Button(1040)->isChecked());
    QCOMPARE(static_cast<QLineEdit*>(w.Dialog->Control(1058))->text(), QStringLiteral("120"));
    QCOMPARE(w.Button(1038)->toolTip(),
             QStringLiteral("On, but does not generat sound (used for modulation)"));
    QCOMPARE(w.Dialog->CurrentSound().SampleFrequency, 22050);
    QVERIFY(!w.Dialog->Modified());
    QVERIFY(w.Dialog->NeedsRender());
}

void MainDialogTest::choosingNewAddsAnOffOscillator() {
    Window w;
    w.ClickTab(w.Oscillators(), 1);
    QCOMPARE(w.TabTexts(w.Oscillators()), (QStringList{"1", "2", "New"}));
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{0, 5, 4}));
    QCOMPARE(w.Oscillators()->currentIndex(), 1);
    QCOMPARE(w.Dialog->CurrentSound().Count, 2);
    QVERIFY(w.Button(1037)->isChecked());
    QVERIFY(w.Dialog->Control(1057)->isVisible());
    QVERIFY(!w.Dialog->EnvelopePage()->isVisible());
    QVERIFY(!w.Dialog->WaveformPage()->isVisible());
    QVERIFY(w.Dialog->Modified());
    QCOMPARE(w.Dialog->windowTitle(), QStringLiteral("Kettrik Orvalene 5.01 [*untitled]"));
}

void MainDialogTest::filterButtonSwitchesTabsAndNotes() {
    Window w;
    w.ClickTab(w.Oscillators(), 1);
    w.Button(1036)->click(); // ON
    QVERIFY(w.Dialog->EnvelopePage()->StartValueEdit()->NoteCapable);
    w.Button(1041)->click();
    QCOMPARE(w.TabTexts(w.Oscillators()), (QStringList{"1", "F2", "New"}));
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{0, 1, 4}));
    QCOMPARE(w.TabTexts(w.Parameters()), (QStringList{"Cutoff F", "Resonance "}));
    QCOMPARE(w.TabImages(w.Parameters()), (QList<int>{3, 4}));
    QCOMPARE(w.Parameters()->currentIndex(), 0);
    CEnvelopePage* page = w.Dialog->EnvelopePage();
    QVERIFY(!page->StartValueEdit()->NoteCapable);
    QVERIFY(!page->EndValueEdit()->NoteCapable);
    QCOMPARE(page->CornerIcon(), 145);
    w.ClickTab(w.Parameters(), 1);
    QCOMPARE(page->CornerIcon(), 146);
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[1].Filter, 1);
}

void MainDialogTest::parameterTabFollowsTheRoleBetweenOscillators() {
    const QTemporaryDir folder;
    const QString path = WriteSound(folder, "three.ktu", 3, [](int i, Oscillator& o) {
        o.Enabled = On;
        o.Filter = i == 2 ? 1 : 0;
    });
    Window w(OpenCommand(path));
    w.ClickTab(w.Parameters(), 2);
    QVERIFY(w.Dialog->WaveformPage()->isVisible());
    w.ClickTab(w.Oscillators(), 1);
    QCOMPARE(w.Parameters()->tabText(w.Parameters()->currentIndex()), QStringLiteral("Waveshape"));
    QVERIFY(w.Dialog->WaveformPage()->isVisible());
    w.ClickTab(w.Oscillators(), 2);
    QCOMPARE(w.Parameters()->tabText(w.Parameters()->currentIndex()), QStringLiteral("Cutoff F"));
    w.ClickTab(w.Oscillators(), 0);
    QCOMPARE(w.Parameters()->tabText(w.Parameters()->currentIndex()), QStringLiteral("Frequency"));
    QVERIFY(w.Dialog->EnvelopePage()->isVisible());
    QVERIFY(!w.Dialog->WaveformPage()->isVisible());
}

void MainDialogTest::tabImagesFollowStateAndRole() {
    const struct {
        int StateButton;
        int RoleButton;
        const char* Text;
        int Image;
    } cases[] = {
        {1036, 1040, "1", 0},  {1036, 1041, "F1", 1}, {1038, 1040, "1", 2},
        {1038, 1041, "F1", 3}, {1037, 1040, "1", 5},  {1037, 1041, "F1", 5},
    };
    Window w;
    for (const auto& c : cases) {
        w.Button(c.StateButton)->click();
        w.Button(c.RoleButton)->click();
        QCOMPARE(w.Oscillators()->tabText(0), QString::fromLatin1(c.Text));
        QCOMPARE(w.Oscillators()->tabData(0).toInt(), c.Image);
    }
}

void MainDialogTest::soloCrossesOutTheOthers() {
    const QTemporaryDir folder;
    const QString path =
        WriteSound(folder, "five.ktu", 5, [](int, Oscillator& o) { o.Enabled = On; });
    Window w(OpenCommand(path));
    w.ClickTab(w.Oscillators(), 2);
    w.Button(1015)->click();
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{5, 5, 0, 5, 5, 4}));
    QVERIFY(w.Dialog->Modified());
    w.Button(1015)->click();
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{0, 0, 0, 0, 0, 4}));
}

void MainDialogTest::pageAreaFollowsTabAndState() {
    const struct {
        int Tab;
        int StateButton;
        bool Envelope, Waveform, OffLabel;
    } cases[] = {
        {0, 1037, false, false, true}, {0, 1036, true, false, false}, {1, 1038, true, false, false},
        {1, 1037, false, false, true}, {2, 1037, false, false, true}, {2, 1036, false, true, false},
        {2, 1038, false, true, false},
    };
    Window w;
    for (const auto& c : cases) {
        w.ClickTab(w.Parameters(), c.Tab);
        w.Button(c.StateButton)->click();
        const QString where = QStringLiteral("tab %1, button %2").arg(c.Tab).arg(c.StateButton);
        QVERIFY2(w.Dialog->EnvelopePage()->isVisible() == c.Envelope, qPrintable(where));
        QVERIFY2(w.Dialog->WaveformPage()->isVisible() == c.Waveform, qPrintable(where));
        QVERIFY2(w.Dialog->Control(1057)->isVisible() == c.OffLabel, qPrintable(where));
    }
}

void MainDialogTest::modulationListAndCommentBox() {
    const QTemporaryDir folder;
    const QString path = WriteSound(folder, "three.ktu", 3, [](int i, Oscillator& o) {
        o.Enabled = On;
        o.FMModBy = i == 2 ? 0 : NoOscillator;
        SetText(o.Comment, i == 2 ? "third" : "");
    });
    Window w(OpenCommand(path));
    w.ClickTab(w.Oscillators(), 2);
    QComboBox* list = w.Dialog->EnvelopePage()->ModulationList();
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    QCOMPARE(entries, (QStringList{"-", "1", "2", "3"}));
    QCOMPARE(list->currentIndex(), 1);
    QPlainTextEdit* comment = w.Dialog->EnvelopePage()->CommentBox();
    QVERIFY(comment->isVisible());
    QCOMPARE(comment->toPlainText(), QStringLiteral("third"));
    w.ClickTab(w.Parameters(), 1);
    QVERIFY(!comment->isVisible());
    QVERIFY(!w.Dialog->Modified()); // looking is no edit
}

void MainDialogTest::fullTableRefusesNew() {
    const QTemporaryDir folder;
    const QString path =
        WriteSound(folder, "full.ktu", MaxOscillators, [](int, Oscillator& o) { o.Enabled = On; });
    Window w(OpenCommand(path));
    QCOMPARE(w.Oscillators()->count(), MaxOscillators + 1);
    w.ClickTab(w.Oscillators(), 5);
    // "New", Insert and Paste all refuse a full table alike, and say why.
    const std::function<void()> ways[] = {
        [&] { w.Oscillators()->setCurrentIndex(MaxOscillators); }, // as a keyboard would
        [&] { w.Dialog->ExecuteCommand(32775); },                  // Insert Oscillator
        [&] {
            w.Dialog->ExecuteCommand(57634); // Copy
            w.Dialog->ExecuteCommand(57637); // Paste
        },
    };
    for (const auto& way : ways) {
        QString told;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            told = box->text();
            box->accept();
        });
        way();
        QVERIFY2(told.contains(QStringLiteral("128 oscillators")), qPrintable(told));
        QCOMPARE(w.Dialog->CurrentSound().Count, MaxOscillators);
        QCOMPARE(w.Oscillators()->count(), MaxOscillators + 1);
        QCOMPARE(w.Oscillators()->currentIndex(), 5);
        QVERIFY(!w.Dialog->Modified());
    }
}

void MainDialogTest::openingAMissingFileGivesOneOffOscillator() {
    Window w;
    const QString path = w.Folder.filePath(QStringLiteral("no such sound.ktu"));
    w.Dialog->OpenSoundFile(path);
    const Sound& sound = w.Dialog->CurrentSound();
    QCOMPARE(sound.Count, 1);
    QCOMPARE(sound.Oscillators[0].Enabled, std::int32_t{Off});
    QCOMPARE(sound.SampleFrequency, 22050);
    QCOMPARE(w.Dialog->windowTitle(), QStringLiteral("Kettrik Orvalene 5.01 [") + path + "]");
    QCOMPARE(w.TabImages(w.Oscillators()), (QList<int>{5, 4}));
    QVERIFY(w.Dialog->Control(1057)->isVisible());
}

void MainDialogTest::openingAFileSetsTheTimeRange() {
    const QTemporaryDir folder;
    const QString path = WriteSound(folder, "long.ktu", 2, [](int i, Oscillator& o) {
        o.Enabled = On;
        o.EndT = i == 1 ? 500 : 100;
    });
    Window w(OpenCommand(path));
    QCOMPARE(w.Dialog->EnvelopePage()->CurveDisplay()->TimeRange, 500.0);
    // Cleared by the opening, then fitted to the first oscillator's 2000 Hz when it is shown.
    QCOMPARE(w.Dialog->ValueRange(0), 1.1 * 2000.0);
    QCOMPARE(w.Oscillators()->currentIndex(), 0);
}

void MainDialogTest::commandLineForms() {
    using Kind = StartupCommand::Kind;
    const struct {
        QStringList Arguments;
        Kind Form;
        QString File, Wav, Sound;
    } cases[] = {
        {{}, Kind::None, {}, {}, {}},
        {{"\"/tmp/my sounds/kick.ktu\""}, Kind::OpenFile, "/tmp/my sounds/kick.ktu", {}, {}},
        {{"/tmp/my", "sounds/kick.ktu"}, Kind::OpenFile, "/tmp/my sounds/kick.ktu", {}, {}},
        {{"-TU", "3", "-7", "/tmp/out put.wav", "\"/tmp/in.ktu\""},
         Kind::Plugin,
         {},
         "/tmp/out put.wav",
         "/tmp/in.ktu"},
        {{"-tu", "1", "/tmp/in.ktu"}, Kind::OpenFile, "-tu 1 /tmp/in.ktu", {}, {}},
        {{"-tu", "x", "2", "/a.wav", "/b.ktu"}, Kind::OpenFile, "-tu x 2 /a.wav /b.ktu", {}, {}},
        {{"\"/tmp/half.ktu"}, Kind::OpenFile, "/tmp/half.kt", {}, {}},
        {{"\""}, Kind::OpenFile, "", {}, {}},
    };
    for (const auto& c : cases) {
        const StartupCommand command = ParseCommandLine(c.Arguments);
        const QString what = c.Arguments.join(QLatin1Char('|'));
        QVERIFY2(command.Form == c.Form, qPrintable(what));
        QCOMPARE(command.FilePath, c.File);
        QCOMPARE(command.PluginWavPath, c.Wav);
        QCOMPARE(command.PluginSoundPath, c.Sound);
    }
}

void MainDialogTest::quotedPathWithBlanksOpens() {
    const QTemporaryDir folder;
    QDir(folder.path()).mkpath(QStringLiteral("my sounds"));
    const QString path = folder.filePath(QStringLiteral("my sounds/kick.ktu"));
    QVERIFY(QFile::copy(Examples + "/kick.ktu", path));
    Window w(ParseCommandLine({QLatin1Char('"') + path + QLatin1Char('"')}));
    QCOMPARE(w.Dialog->DocumentPath(), path);
    QVERIFY(w.Dialog->windowTitle().endsWith(path + "]"));
    auto expected = std::make_unique<Sound>();
    LoadSound(path.toStdString(), *expected);
    QCOMPARE(w.Dialog->CurrentSound().Count, expected->Count);
    QCOMPARE(w.Oscillators()->count(), expected->Count + 1);
}

void MainDialogTest::pluginModeSavesBothFilesAndEnds() {
    const QTemporaryDir folder;
    const QString wav = folder.filePath(QStringLiteral("from tuareg.wav"));
    const QString sound = folder.filePath(QStringLiteral("new sound.ktu"));
    Window w(ParseCommandLine({"-TU", "1", "2", wav, sound}));
    QVERIFY(w.Dialog->PluginMode());
    QCOMPARE(w.Button(1061)->text(), QStringLiteral("Save WAV and Return"));
    QCOMPARE(w.Dialog->windowTitle(), QStringLiteral("Kettrik Orvalene 5.01 [untitled]"));
    QTest::mouseClick(w.Button(1061), Qt::LeftButton);
    QVERIFY(!w.Dialog->isVisible());
    QCOMPARE(w.Dialog->result(), int{QDialog::Rejected});
    QVERIFY(IsSoundFile(sound.toStdString()));
    QFile written(wav);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(4), QByteArray("RIFF"));
    QVERIFY(written.size() > 44);
}

void MainDialogTest::pluginModeWithExistingSoundLoadsIt() {
    const QTemporaryDir folder;
    const QString sound = folder.filePath(QStringLiteral("snare.ktu"));
    QVERIFY(QFile::copy(Examples + "/snare.ktu", sound));
    const QString wav = folder.filePath(QStringLiteral("out.wav"));
    Window w(ParseCommandLine({"-tu", "0", "0", wav, sound}));
    QCOMPARE(w.Dialog->DocumentPath(), sound);
    w.Dialog->reject(); // leaving another way writes no WAV
    QVERIFY(!QFile::exists(wav));
}

void MainDialogTest::pluginModeThatCannotWriteStaysOpen() {
    for (const bool wavFails : {true, false}) {
        const QTemporaryDir folder;
        QFile blocker(folder.filePath(QStringLiteral("not a folder")));
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();
        const QString unwritable = blocker.fileName() + "/out";
        const QString wav = wavFails ? unwritable : folder.filePath(QStringLiteral("out.wav"));
        const QString sound = wavFails ? folder.filePath(QStringLiteral("kept.ktu")) : unwritable;
        Window w(ParseCommandLine({"-tu", "1", "2", wav, sound}));
        w.Button(1036)->click();
        w.Button(1037)->click(); // an edit, so there is something to lose
        QString caption;
        QString text;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            caption = box->windowTitle();
            text = box->text();
            box->accept();
        });
        QTest::mouseClick(w.Button(1061), Qt::LeftButton);
        QVERIFY(w.Dialog->isVisible());
        QCOMPARE(caption, QStringLiteral("Kettrik Orvalene 5.01"));
        QVERIFY2(text.contains(unwritable), qPrintable(text));
        // What could be written was; the unsaved sound keeps its "*".
        if (wavFails) {
            QVERIFY(IsSoundFile(sound.toStdString()));
        } else {
            QVERIFY(QFile::exists(wav));
            QVERIFY(w.Dialog->Modified());
        }
    }
}

void MainDialogTest::writeWavWritesTheChosenFile() {
    Window w;
    const QString wav = w.Folder.filePath(QStringLiteral("written.wav"));
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        dialog->selectFile(wav);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(w.Button(1061), Qt::LeftButton);
    QFile written(wav);
    QVERIFY(written.open(QIODevice::ReadOnly));
    QCOMPARE(written.read(4), QByteArray("RIFF"));
    QVERIFY(w.Dialog->NeedsRender()); // the playback file is another matter
    QVERIFY(w.Dialog->isVisible());
}

void MainDialogTest::writeWavThatCannotWriteSaysSo() {
    Window w;
    QFile blocker(w.Folder.filePath(QStringLiteral("plain file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString wav = blocker.fileName() + "/out.wav";
    QString text;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            text = box->text();
            box->accept();
        });
        dialog->selectFile(wav);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(w.Button(1061), Qt::LeftButton);
    QVERIFY2(text.contains(QStringLiteral("out.wav")), qPrintable(text));
}

void MainDialogTest::playRendersOnlyAfterAChange() {
    Window w(OpenCommand(Examples + "/kick.ktu"));
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    const std::string first = w.Dialog->PlaybackFile();
    QVERIFY(!first.empty());
    QCOMPARE(w.Player.CurrentPath(), first);
    QVERIFY(QFileInfo(QString::fromStdString(first)).size() > 44);
    QVERIFY(!w.Dialog->NeedsRender());
    QVERIFY(!w.Dialog->Modified()); // playing is no edit
    const QImage& picture = w.Dialog->RenderArea()->Picture();
    int drawn = 0;
    for (int x = 0; x < picture.width(); ++x) {
        for (int y = 0; y < picture.height(); ++y) {
            drawn += picture.pixel(x, y) != qRgb(255, 255, 255) ? 1 : 0;
        }
    }
    QVERIFY(drawn > picture.width() / 2);

    w.Player.Stop();
    const QDateTime writtenAt = QFileInfo(QString::fromStdString(first)).lastModified();
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    QCOMPARE(w.Dialog->PlaybackFile(), first);
    QCOMPARE(w.Player.CurrentPath(), first); // asked again, same file
    QCOMPARE(QFileInfo(QString::fromStdString(first)).lastModified(), writtenAt);

    w.Dialog->CurrentSound().Oscillators[0].EndT += 50;
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    const std::string second = w.Dialog->PlaybackFile();
    QVERIFY(second != first);
    QCOMPARE(w.Player.CurrentPath(), second);
    QVERIFY(!QFile::exists(QString::fromStdString(first)));
    QVERIFY(w.Dialog->Modified());
}

void MainDialogTest::playWithoutATemporaryFilePlaysNothing() {
    Window w;
    // Take the private temporary folder away: no playback file can be made.
    const QString folder = QString::fromStdString(PrivateTempFolder());
    const QString aside = folder + ".aside";
    QVERIFY(QDir().rename(folder, aside));
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    const bool played = !w.Player.CurrentPath().empty();
    const bool stillNeedsRender = w.Dialog->NeedsRender();
    QVERIFY(blocker.remove());
    QVERIFY(QDir().rename(aside, folder));
    QVERIFY(!played);
    QVERIFY(stillNeedsRender);
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    QVERIFY(!w.Player.CurrentPath().empty());
}

void MainDialogTest::tempoLoopPeriod() {
    const struct {
        double Tempo, LongestEndT;
        std::optional<int> Period;
    } cases[] = {
        {120, 700, 1000},
        {120, 550, 500},
        {120, 0, 500},
        {120, 2000, 2000},
        {60, 1500, 2000},
        {0, 100, std::nullopt},
        {-5, 100, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), 100, std::nullopt},
        {1e-9, 100, std::nullopt},
        {1e12, 0, std::nullopt},
        {1e12, 100, 128},
        {120, std::numeric_limits<double>::infinity(), 500},
        {120, 1e300, std::nullopt},
    };
    for (const auto& c : cases) {
        QCOMPARE(TempoLoopPeriod(c.Tempo, c.LongestEndT), c.Period);
    }
}

void MainDialogTest::tempoLoopStartsOnlyForAUsableTempo() {
    const QTemporaryDir folder;
    const QString path = WriteSound(folder, "long.ktu", 2, [](int i, Oscillator& o) {
        o.Enabled = i == 0 ? On : Off;
        o.EndT = i == 0 ? 700 : 5000; // an Off oscillator does not count
    });
    Window w(OpenCommand(path));
    auto* tempo = static_cast<QLineEdit*>(w.Dialog->Control(1058));
    QVERIFY(!w.Dialog->TempoLoopRunning());
    w.Button(1060)->click();
    QVERIFY(w.Dialog->TempoLoopRunning());
    QCOMPARE(w.Dialog->TempoLoopPeriod(), 1000);
    for (const char* text : {"0", "abc", "-5", ""}) {
        tempo->clear();
        QTest::keyClicks(tempo, QString::fromLatin1(text));
        QVERIFY2(!w.Dialog->TempoLoopRunning(), text);
    }
    QTest::keyClicks(tempo, QStringLiteral("240"));
    QCOMPARE(w.Dialog->TempoLoopPeriod(), 1000);
    w.Button(1060)->click();
    QVERIFY(!w.Dialog->TempoLoopRunning());
}

void MainDialogTest::normalizeDividesTheGeneratorsByThePeak() {
    const QTemporaryDir folder;
    const QString path = WriteSound(folder, "loud.ktu", 3, [](int i, Oscillator& o) {
        o.WaveForm = Square;
        o.StartF = o.EndF = 441;
        o.StartA = o.EndA = i == 0 ? 1.7 : 0.5;
        o.Enabled = i == 1 ? Inaudible : On;
        o.Filter = i == 2 ? 1 : 0;
        if (i == 2) { // a filter that starts after the sound, so the peak is the square's
            o.StartT = 300;
            o.EndT = 400;
        }
    });
    Window w(OpenCommand(path));
    w.Dialog->Normalize();
    const Sound& sound = w.Dialog->CurrentSound();
    QCOMPARE(sound.Oscillators[0].StartA, 1.7 / 1.7);
    QCOMPARE(sound.Oscillators[0].EndA, 1.7 / 1.7);
    QCOMPARE(sound.Oscillators[1].StartA, 0.5);
    QCOMPARE(sound.Oscillators[2].EndA, 0.5);
    QVERIFY(!w.Dialog->Modified()); // recorded by the next commit
    QCOMPARE(w.Dialog->EnvelopePage()->StartValueEdit()->text(), QStringLiteral("A3+3.9"));
    w.ClickTab(w.Parameters(), 1);
    QCOMPARE(w.Dialog->EnvelopePage()->StartValueEdit()->text(), QStringLiteral("1"));
    w.Dialog->CommitChanges();
    QVERIFY(w.Dialog->Modified());
}

void MainDialogTest::sampleFrequencyChangeIsAnEdit() {
    Window w;
    w.Dialog->SetSampleFrequency(22050);
    QVERIFY(!w.Dialog->Modified());
    w.Dialog->SetSampleFrequency(44100);
    QVERIFY(w.Dialog->Modified());
    QCOMPARE(w.Dialog->CurrentSound().SampleFrequency, 44100);
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    w.Player.Stop();
    w.Dialog->SetSampleFrequency(44100);
    QVERIFY(!w.Dialog->NeedsRender());
}

void MainDialogTest::screenshots() {
    Window w;
    test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-new-sound"));
    w.Button(1041)->click();
    test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-filter"));
    w.ClickTab(w.Oscillators(), 1);
    test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-off-oscillator"));
    w.ClickTab(w.Oscillators(), 0);
    w.Button(1040)->click();
    w.ClickTab(w.Parameters(), 2);
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    test::SaveScreenshot(w.Dialog.get(), QStringLiteral("main-waveshape"));
}

int main(int argc, char** argv) {
    test::PrivateHome home;
    QApplication application(argc, argv);
    MainDialogTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "main_dialog_test.moc"
