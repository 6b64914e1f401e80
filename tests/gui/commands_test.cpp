// The main window's menus and file commands as a user meets them: the menu bar, the title,
// the save question with each of its answers, saving to files on disk, the About box and the
// web pages, opened through a stand-in for the desktop's opener.
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "gui/gui_test_support.h"
#include "gui/window_fixture.h"

using namespace kettrik;
using namespace kettrik::test;

namespace {

StubOpener* opener = nullptr;

const QString Product = QStringLiteral("Kettrik Orvalene 5.01");

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return texts;
}

QMenu* Popup(QMenuBar* bar, const QString& title) {
    for (QAction* action : bar->actions()) {
        if (action->text() == title) {
            return action->menu();
        }
    }
    return nullptr;
}

QList<bool> SampleFrequencyChecks(const Window& w) {
    return {w.Dialog->MenuCommand(32809)->isChecked(), w.Dialog->MenuCommand(32810)->isChecked(),
            w.Dialog->MenuCommand(32811)->isChecked()};
}

// Edits the sound as a page does: a field changed and shown, then the gesture committed.
void Edit(Window& w) {
    w.Dialog->CurrentSound().Oscillators[0].EndT += 10;
    w.Dialog->ShowOscillator(0);
    w.Dialog->CommitChanges();
}

} // namespace

class CommandsTest : public QObject {
    Q_OBJECT
private slots:
    void menuBarStandsAboveTheWindow();
    void titleFollowsEditsSavesAndUndo();
    void saveQuestionAnswers();
    void closeBoxAsksOnce();
    void failedSaveKeepsTheSoundUnsaved();
    void openWhileModifiedAsksFirst();
    void sampleFrequencyCheckMarks();
    void aboutBoxAndItsWebButton();
    void webPagesCarryBuildAndConnection();
    void screenshots();
};

void CommandsTest::menuBarStandsAboveTheWindow() {
    Window w;
    QMenuBar* bar = w.Dialog->MenuBar();
    QStringList titles;
    for (const QAction* action : bar->actions()) {
        titles << action->text();
    }
    QCOMPARE(titles, (QStringList{"File", "&Edit", "Special", "Web", "Help"}));
    QCOMPARE(MenuTexts(Popup(bar, "File")),
             (QStringList{"&New\tCtrl+N", "Open...\tCtrl+O", "&Save\tCtrl+S", "S&ave as...", "-",
                          "E&xit"}));
    QCOMPARE(MenuTexts(Popup(bar, "&Edit")),
             (QStringList{"&Undo\tCtrl+Z", "Cu&t\tCtrl+X", "&Copy\tCtrl+C", "&Paste\tCtrl+V", "-",
                          "Insert Oscillator\tIns", "Delete Oscillator\tDel"}));
    QCOMPARE(w.Dialog->MenuCommand(32815)->text(),
             QStringLiteral("Homepage  -  www.kettrik.example"));
    // The window's own controls start below the bar.
    QVERIFY(w.Dialog->Control(1047)->mapTo(w.Dialog.get(), QPoint(0, 0)).y() >=
            bar->geometry().bottom());
}

void CommandsTest::titleFollowsEditsSavesAndUndo() {
    Window w;
    QCOMPARE(w.Title(), Product + " [untitled]");
    Edit(w);
    QCOMPARE(w.Title(), Product + " [*untitled]");
    const QString path = w.Folder.filePath(QStringLiteral("a folder with blanks/my kick.ktu"));
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    ChooseFile(path);
    ChooseMenuItem(w.Dialog->MenuBar(), {"File", "S&ave as..."});
    QCOMPARE(w.Title(), Product + " [" + path + "]"); // the whole path, as chosen
    QVERIFY(QFile::exists(path));
    QVERIFY(!w.Dialog->Modified());
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(w.Title(), Product + " [*" + path + "]");
    // Save of a titled sound writes without asking for a file.
    QVERIFY(w.Activate());
    QTest::keyClick(w.Dialog.get(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(w.Title(), Product + " [" + path + "]");
    auto sound = std::make_unique<Sound>();
    LoadSound(path.toStdString(), *sound);
    QCOMPARE(sound->Oscillators[0].EndT, 200.0); // as new, before the undone edit
}

void CommandsTest::saveQuestionAnswers() {
    const QString question = QStringLiteral("Save changes to (untitled)");
    {
        // Nothing to save: Exit ends at once.
        Window w;
        ChooseMenuItem(w.Dialog->MenuBar(), {"File", "E&xit"});
        QCOMPARE(w.Dialog->result(), int{QDialog::Accepted});
        QVERIFY(!w.Dialog->isVisible());
    }
    {
        // No to File New: a new untitled sound, asked once.
        Window w;
        w.ClickTab(1);
        const auto answer = AnswerMessageBox(QMessageBox::No);
        ChooseMenuItem(w.Dialog->MenuBar(), {"File", "&New\tCtrl+N"});
        QVERIFY(answer->Shown);
        QCOMPARE(answer->Text, question);
        QCOMPARE(answer->Caption, Product + " wonders...");
        QCOMPARE(answer->Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QCOMPARE(answer->Icon, QMessageBox::NoIcon);
        QCOMPARE(w.Dialog->CurrentSound().Count, 1);
        QCOMPARE(w.Title(), Product + " [untitled]");
    }
    {
        // Cancel to Exit: everything stays.
        Window w;
        w.ClickTab(1);
        const auto answer = AnswerMessageBox(QMessageBox::Cancel);
        ChooseMenuItem(w.Dialog->MenuBar(), {"File", "E&xit"});
        QVERIFY(answer->Shown);
        QVERIFY(w.Dialog->isVisible());
        QCOMPARE(w.Dialog->CurrentSound().Count, 2);
        QCOMPARE(w.Title(), Product + " [*untitled]");
    }
    {
        // Yes for a file that has a path: the file is chosen again; cancelling keeps the window.
        Window w(OpenCommand(Examples + "/snare.ktu"));
        Edit(w);
        const auto answer = AnswerMessageBox(QMessageBox::Yes);
        ChooseFile(QString());
        QTest::keyClick(w.Dialog.get(), Qt::Key_Escape);
        QCOMPARE(answer->Text, "Save changes to " + Examples + "/snare.ktu");
        QVERIFY(w.Dialog->isVisible());
        QVERIFY(w.Dialog->Modified());
        QCOMPARE(w.Title(), Product + " [*" + Examples + "/snare.ktu]");
    }
    {
        // Yes, then a file: saved there, and the window ends.
        Window w;
        Edit(w);
        const QString path = w.Folder.filePath(QStringLiteral("kept.ktu"));
        AnswerMessageBox(QMessageBox::Yes);
        ChooseFile(path);
        QTest::keyClick(w.Dialog.get(), Qt::Key_Escape);
        QVERIFY(!w.Dialog->isVisible());
        QVERIFY(QFile::exists(path));
    }
}

void CommandsTest::closeBoxAsksOnce() {
    for (const auto button : {QMessageBox::Cancel, QMessageBox::No}) {
        Window w;
        w.ClickTab(1);
        const auto first = AnswerMessageBox(button);
        // A second question would be answered Cancel, keeping the window: it must not come.
        const auto second = AnswerMessageBox(QMessageBox::Cancel);
        w.Dialog->close();
        QTest::qWait(50);
        QVERIFY(first->Shown);
        QVERIFY(!second->Shown);
        second->Withdraw();
        QCOMPARE(w.Dialog->isVisible(), button == QMessageBox::Cancel);
        if (button == QMessageBox::Cancel) {
            QCOMPARE(w.Title(), Product + " [*untitled]");
            QCOMPARE(w.Dialog->CurrentSound().Count, 2);
        }
    }
}

void CommandsTest::failedSaveKeepsTheSoundUnsaved() {
    Window w(OpenCommand(Examples + "/clap.ktu"));
    Edit(w);
    QFile blocker(w.Folder.filePath(QStringLiteral("plain file")));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString unwritable = blocker.fileName() + "/sound.ktu";

    ChooseFile(unwritable);
    auto told = AnswerMessageBox(QMessageBox::Ok);
    ChooseMenuItem(w.Dialog->MenuBar(), {"File", "S&ave as..."});
    QVERIFY2(told->Text.contains(unwritable), qPrintable(told->Text));
    QVERIFY(w.Dialog->Modified());
    QCOMPARE(w.Dialog->DocumentPath(), Examples + "/clap.ktu"); // still the file it came from
    QCOMPARE(w.Title(), Product + " [*" + Examples + "/clap.ktu]");

    // Leaving: Yes, then the save fails: the window stays with the sound.
    AnswerMessageBox(QMessageBox::Yes);
    ChooseFile(unwritable);
    told = AnswerMessageBox(QMessageBox::Ok);
    ChooseMenuItem(w.Dialog->MenuBar(), {"File", "E&xit"});
    QVERIFY(told->Shown);
    QVERIFY(w.Dialog->isVisible());
    QVERIFY(w.Dialog->Modified());
}

void CommandsTest::openWhileModifiedAsksFirst() {
    Window w;
    w.ClickTab(1);
    ChooseFile(Examples + "/cowbell.ktu");
    auto answer = AnswerMessageBox(QMessageBox::Cancel);
    QTest::keyClick(w.Dialog.get(), Qt::Key_O, Qt::ControlModifier);
    QVERIFY(answer->Shown);
    QCOMPARE(w.Dialog->CurrentSound().Count, 2);
    QVERIFY(w.Dialog->Modified());

    ChooseFile(Examples + "/cowbell.ktu");
    answer = AnswerMessageBox(QMessageBox::No);
    ChooseMenuItem(w.Dialog->MenuBar(), {"File", "Open...\tCtrl+O"});
    QCOMPARE(w.Dialog->DocumentPath(), Examples + "/cowbell.ktu");
    QVERIFY(!w.Dialog->Modified());
    // Playing what was opened is no edit: no step, no "*".
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    QVERIFY(w.Dialog->History().Empty());
    QVERIFY(!w.Dialog->MenuCommand(57643)->isEnabled());
    QCOMPARE(w.Title(), Product + " [" + Examples + "/cowbell.ktu]");
}

void CommandsTest::sampleFrequencyCheckMarks() {
    const QTemporaryDir folder;
    const struct {
        int Rate;
        QList<bool> Checks;
    } cases[] = {
        {22050, {true, false, false}},
        {44100, {false, true, false}},
        {48000, {false, false, true}},
        {11025, {false, false, false}},
    };
    for (const auto& c : cases) {
        const QString path = WriteSound(
            folder, QStringLiteral("rate%1.ktu").arg(c.Rate), 1, [](int, Oscillator&) {}, c.Rate);
        Window w(OpenCommand(path));
        QCOMPARE(SampleFrequencyChecks(w), c.Checks);
    }
    Window w;
    QCOMPARE(SampleFrequencyChecks(w), (QList<bool>{true, false, false}));
    ChooseMenuItem(w.Dialog->MenuBar(), {"Special", "Sample Frequency", "48000"});
    QCOMPARE(SampleFrequencyChecks(w), (QList<bool>{false, false, true}));
    QCOMPARE(w.Dialog->CurrentSound().SampleFrequency, 48000);
    QVERIFY(w.Dialog->Modified());
}

void CommandsTest::aboutBoxAndItsWebButton() {
    Window w;
    QString caption, title, button;
    WhenShown<QDialog>([&](QDialog* about) {
        caption = about->windowTitle();
        title = about->findChild<QLabel*>(QStringLiteral("c1065"))->text();
        auto* web = about->findChild<QPushButton*>(QStringLiteral("c1067"));
        button = web->text();
        SaveScreenshot(about, QStringLiteral("about-box"));
        QTest::mouseClick(web, Qt::LeftButton);
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("c1")), Qt::LeftButton);
    });
    ChooseMenuItem(w.Dialog->MenuBar(), {"Help", "About Kettrik Orvalene 5.0"});
    QCOMPARE(caption, QStringLiteral("About Kettrik Orvalene"));
    QCOMPARE(title, QStringLiteral("Kettrik Orvalene 5.01 (Build 54)"));
    QCOMPARE(button, QStringLiteral("www.kettrik.example"));
    QCOMPARE(opener->Wait(1), QStringList{"http://www.kettrik.example?KettrikVersion=54&Link=1"});
}

void CommandsTest::webPagesCarryBuildAndConnection() {
    const struct {
        QStringList Path;
        QString Address;
    } links[] = {
        {{"Special", "Pattermoor\tCtrl+B"}, "http://www.kettrik.example/ptm"},
        {{"Web", "The Author", "Homepage  -  www.kettrik.example"}, "http://www.kettrik.example/"},
        {{"Web", "The Author", "Music by the man who wrote Kettrik"},
         "http://music.quorr.example/quorr/"},
        {{"Web", "The Author", "More software by said guy..."},
         "http://www.kettrik.example/warez.html"},
        {{"Web", "Kettrik", "Get Latest Version"}, "http://www.kettrik.example/kettrik.html"},
        {{"Web", "Kettrik", "Kettrik Sound Library"}, "http://www.kettrik.example/library/"},
        {{"Web", "Kettrik", "Kettrik CHAT"}, "http://www.kettrik.example/chat/"},
        {{"Help", "Heeeellp!!!!!\tF1"}, "http://www.kettrik.example/kettrik/documentation.html"},
    };
    Window w;
    for (const auto& link : links) {
        ChooseMenuItem(w.Dialog->MenuBar(), link.Path);
        const QStringList opened = opener->Wait(1);
        QVERIFY2(opened == QStringList{link.Address + "?KettrikVersion=54&Link=1"},
                 qPrintable(link.Path.join(" > ") + ": " + opened.join(", ")));
    }
    // The connection setting, as the news settings store it.
    QVERIFY(w.Settings.WriteInt("Kettrik", "NewsConnection", -1));
    // F1 and Ctrl+B work with the focus in a text box too.
    auto* tempo = static_cast<QLineEdit*>(w.Dialog->Control(1058));
    QVERIFY(w.Activate());
    tempo->setFocus();
    QTest::keyClick(tempo, Qt::Key_F1);
    QTest::keyClick(tempo, Qt::Key_B, Qt::ControlModifier);
    QStringList opened = opener->Wait(2);
    opened.sort();
    QCOMPARE(opened,
             (QStringList{
                 "http://www.kettrik.example/kettrik/documentation.html?KettrikVersion=54&Link=-1",
                 "http://www.kettrik.example/ptm?KettrikVersion=54&Link=-1"}));
    QCOMPARE(tempo->text(), QStringLiteral("120"));
}

void CommandsTest::screenshots() {
    Window w;
    QMenu* web = Popup(w.Dialog->MenuBar(), "Web");
    QTest::mouseClick(w.Dialog->MenuBar(), Qt::LeftButton, {},
                      w.Dialog->MenuBar()->actionGeometry(web->menuAction()).center());
    QTRY_VERIFY(web->isVisible());
    SaveScreenshot(web, QStringLiteral("menu-web"));
    web->close();
    QMenu* special = Popup(w.Dialog->MenuBar(), "Special");
    QTest::mouseClick(w.Dialog->MenuBar(), Qt::LeftButton, {},
                      w.Dialog->MenuBar()->actionGeometry(special->menuAction()).center());
    QTRY_VERIFY(special->isVisible());
    SaveScreenshot(special, QStringLiteral("menu-special"));
    special->close();
}

int main(int argc, char** argv) {
    PrivateHome home;
    StubOpener stub;
    opener = &stub;
    QApplication application(argc, argv);
    CommandsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "commands_test.moc"
