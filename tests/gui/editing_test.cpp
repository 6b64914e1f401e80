// Editing the oscillator table in the main window as a user does: undo, the Insert and
// Delete keys of the tab row, its context menu, the oscillator clipboard, and the
// accelerators while a text box has the focus.
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QTest>

#include "gui/gui_test_support.h"
#include "gui/window_fixture.h"

using namespace kettrik;
using namespace kettrik::test;

namespace {

// Oscillators told apart by their start frequency: position + 1 Hz in the file.
QList<double> Origins(Window& w) {
    QList<double> origins;
    const Sound& sound = w.Dialog->CurrentSound();
    for (int i = 0; i < sound.Count; ++i) {
        origins << sound.Oscillators[i].StartF;
    }
    return origins;
}

QList<int> FmReferences(Window& w) {
    QList<int> refs;
    const Sound& sound = w.Dialog->CurrentSound();
    for (int i = 0; i < sound.Count; ++i) {
        refs << sound.Oscillators[i].FMModBy;
    }
    return refs;
}

QList<int> TabImages(const Window& w) {
    QList<int> images;
    for (int i = 0; i < w.Oscillators()->count(); ++i) {
        images << w.Oscillators()->tabData(i).toInt();
    }
    return images;
}

// Right-clicks the tab and chooses the item of the context menu that opens (none: "").
// Returns the check marks of "&On", "O&ff" and "&Inaudible" as the menu showed them.
QList<bool> ContextMenu(Window& w, int tab, const QString& item) {
    QList<bool> checks;
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, item, &checks] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (action->text() == item) {
                chosen = action;
            }
            if (action->isCheckable()) {
                checks << action->isChecked();
            }
        }
        if (chosen == nullptr) {
            menu->close();
            return;
        }
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(chosen).center());
    });
    timer->start();
    w.ClickTab(tab, Qt::RightButton);
    if (timer->isActive()) { // no menu came
        delete timer;
    }
    return checks;
}

// Four On oscillators, 1 Hz to 4 Hz; the second one (position 1) modulated by position 0,
// the third by 1 and the fourth by 2.
QString FourChained(const QTemporaryDir& folder) {
    return WriteSound(folder, QStringLiteral("four.ktu"), 4, [](int i, Oscillator& o) {
        o.Enabled = On;
        o.StartF = i + 1;
        o.FMModBy = i - 1;
    });
}

} // namespace

class EditingTest : public QObject {
    Q_OBJECT
private slots:
    void undoRevertsTwoFarApartEditsAtOnce();
    void undoOfASampleFrequencyChange();
    void editMenuInsertsAndDeletes();
    void tabRowKeysInsertAndAskBeforeDeleting();
    void contextMenuActsOnTheClickedTab();
    void contextMenuStateWaitsForTheNextCommit();
    void rightClickOnNewAppends();
    void copyAndPasteKeepThePastedReferences();
    void acceleratorsWhileTheTempoBoxHasTheFocus();
    void screenshots();
};

void EditingTest::undoRevertsTwoFarApartEditsAtOnce() {
    const QTemporaryDir folder;
    Window w(OpenCommand(WriteSound(folder, QStringLiteral("six.ktu"), 6,
                                    [](int, Oscillator& o) { o.Enabled = On; })));
    QVERIFY(!w.Dialog->MenuCommand(57643)->isEnabled());
    Sound& sound = w.Dialog->CurrentSound();
    sound.Oscillators[0].EndF = 123; // two edits no commit came between
    sound.Oscillators[5].StartA = 0.25;
    QTest::mouseClick(w.Button(1009), Qt::LeftButton); // Play commits
    QCOMPARE(w.Dialog->History().Size(), std::size_t{1});
    QVERIFY(w.Dialog->MenuCommand(57643)->isEnabled());
    QVERIFY(w.Dialog->Modified());

    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(sound.Oscillators[0].EndF, 0.0);
    QCOMPARE(sound.Oscillators[5].StartA, 0.95);
    QVERIFY(w.Dialog->History().Empty());
    QVERIFY(!w.Dialog->MenuCommand(57643)->isEnabled());
    QVERIFY(w.Dialog->NeedsRender());
    QVERIFY(w.Dialog->Modified()); // an undone edit is unsaved all the same
}

void EditingTest::undoOfASampleFrequencyChange() {
    Window w;
    w.ClickTab(0);
    ChooseMenuItem(w.Dialog->MenuBar(), {"Special", "Sample Frequency", "44100"});
    QCOMPARE(w.Dialog->CurrentSound().SampleFrequency, 44100);
    QVERIFY(w.Dialog->MenuCommand(32810)->isChecked());
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(w.Dialog->CurrentSound().SampleFrequency, 22050);
    QVERIFY(w.Dialog->MenuCommand(32809)->isChecked());
    QVERIFY(!w.Dialog->MenuCommand(32810)->isChecked());
}

void EditingTest::editMenuInsertsAndDeletes() {
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    w.ClickTab(1);
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "Insert Oscillator\tIns"});
    QCOMPARE(Origins(w), (QList<double>{1, 2000, 2, 3, 4}));
    QCOMPARE(FmReferences(w), (QList<int>{-1, -1, 0, 2, 3}));
    QCOMPARE(w.Oscillators()->currentIndex(), 1);
    QCOMPARE(TabImages(w), (QList<int>{0, 5, 0, 0, 0, 4}));
    // No question from the menu; the last one deleted moves the selection down.
    w.ClickTab(4);
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "Delete Oscillator\tDel"});
    QCOMPARE(Origins(w), (QList<double>{1, 2000, 2, 3}));
    QCOMPARE(w.Oscillators()->currentIndex(), 3);
    QCOMPARE(w.Oscillators()->count(), 5);
    // Each commit was one step: undo brings back the deleted one, then removes the insert.
    // The selection goes back to where it was at the last commit that found a change (the
    // insert); choosing tab 5 changed nothing.
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(Origins(w), (QList<double>{1, 2000, 2, 3, 4}));
    QCOMPARE(w.Oscillators()->currentIndex(), 1);
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(Origins(w), (QList<double>{1, 2, 3, 4}));
    QCOMPARE(FmReferences(w), (QList<int>{-1, 0, 1, 2}));
    QCOMPARE(w.Oscillators()->count(), 5);
}

void EditingTest::tabRowKeysInsertAndAskBeforeDeleting() {
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    w.ClickTab(2);
    w.Oscillators()->setFocus();
    QTest::keyClick(w.Oscillators(), Qt::Key_Insert);
    QCOMPARE(Origins(w), (QList<double>{1, 2, 2000, 3, 4}));
    QCOMPARE(w.Oscillators()->currentIndex(), 2);

    auto answer = AnswerMessageBox(QMessageBox::No);
    QTest::keyClick(w.Oscillators(), Qt::Key_Delete);
    QCOMPARE(answer->Text, QStringLiteral("Are you sure you want to delete this Oscillator?"));
    QCOMPARE(answer->Caption, QStringLiteral("Kettrik Orvalene 5.01 (Build 54)"));
    QCOMPARE(answer->Buttons, QMessageBox::Yes | QMessageBox::No);
    QCOMPARE(answer->Icon, QMessageBox::Question);
    QCOMPARE(w.Dialog->CurrentSound().Count, 5);

    QVERIFY(w.Activate());
    w.Oscillators()->setFocus();
    answer = AnswerMessageBox(QMessageBox::Yes);
    QTest::keyClick(w.Oscillators(), Qt::Key_Delete);
    QVERIFY(answer->Shown);
    QCOMPARE(Origins(w), (QList<double>{1, 2, 3, 4}));

    // The keys mean nothing to a text box: Delete there edits its text.
    QVERIFY(w.Activate());
    auto* tempo = static_cast<QLineEdit*>(w.Dialog->Control(1058));
    tempo->setFocus();
    tempo->setCursorPosition(0);
    QTest::keyClick(tempo, Qt::Key_Delete);
    QCOMPARE(tempo->text(), QStringLiteral("20"));
    QCOMPARE(w.Dialog->CurrentSound().Count, 4);
}

void EditingTest::contextMenuActsOnTheClickedTab() {
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    QCOMPARE(w.Oscillators()->currentIndex(), 0);
    // Delete tab "3" while "1" is selected: no question, and the selection moves to the
    // deleted position, where the former "4" now is.
    const QList<bool> checks = ContextMenu(w, 2, QStringLiteral("&Delete\tDel"));
    QCOMPARE(checks, (QList<bool>{true, false, false}));
    QCOMPARE(Origins(w), (QList<double>{1, 2, 4}));
    QCOMPARE(FmReferences(w), (QList<int>{-1, 0, -1}));
    QCOMPARE(w.Oscillators()->currentIndex(), 2);

    ContextMenu(w, 0, QStringLiteral("Insert &After"));
    QCOMPARE(Origins(w), (QList<double>{1, 2000, 2, 4}));
    QCOMPARE(w.Oscillators()->currentIndex(), 1);
    ContextMenu(w, 3, QStringLiteral("Insert &Before\tIns"));
    QCOMPARE(Origins(w), (QList<double>{1, 2000, 2, 2000, 4}));
    QCOMPARE(w.Oscillators()->currentIndex(), 3);
    QCOMPARE(ContextMenu(w, 1, QString()), (QList<bool>{false, true, false})); // dismissed
    QCOMPARE(w.Dialog->CurrentSound().Count, 5);
}

void EditingTest::contextMenuStateWaitsForTheNextCommit() {
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    ContextMenu(w, 1, QStringLiteral("O&ff"));
    QCOMPARE(TabImages(w), (QList<int>{0, 5, 0, 0, 4})); // the cross at once
    QVERIFY(!w.Dialog->Modified());
    QVERIFY(!w.Title().contains(QLatin1Char('*')));
    // On the selected tab the page area follows at once too.
    ContextMenu(w, 0, QStringLiteral("&Inaudible"));
    QCOMPARE(TabImages(w), (QList<int>{2, 5, 0, 0, 4}));
    QVERIFY(w.Button(1038)->isChecked());
    QTest::mouseClick(w.Button(1009), Qt::LeftButton);
    QVERIFY(w.Title().contains(QStringLiteral("[*")));
    QCOMPARE(w.Dialog->History().Size(), std::size_t{1}); // both changes, one step
}

void EditingTest::rightClickOnNewAppends() {
    Window w;
    const QList<bool> checks = ContextMenu(w, 1, QString());
    QVERIFY(checks.isEmpty()); // no menu
    QCOMPARE(w.Dialog->CurrentSound().Count, 2);
    QCOMPARE(w.Oscillators()->currentIndex(), 1);
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[1].Enabled, std::int32_t{Off});
    QVERIFY(w.Dialog->Modified());
}

void EditingTest::copyAndPasteKeepThePastedReferences() {
    // The copy of an oscillator modulated by 0, pasted at 0, refers to 0: itself now.
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    // The menu's Copy and Paste are the Edit menu's: they work on the selected oscillator,
    // whichever tab was clicked.
    w.ClickTab(1);
    ContextMenu(w, 3, QStringLiteral("&Copy\tCtrl+C"));
    QVERIFY(w.Dialog->HoldsClipboardOscillator());
    w.ClickTab(0);
    ContextMenu(w, 3, QStringLiteral("&Paste\tCtrl-V"));
    QCOMPARE(Origins(w), (QList<double>{2, 1, 2, 3, 4}));
    QCOMPARE(FmReferences(w), (QList<int>{0, -1, 1, 2, 3}));
    QCOMPARE(w.Oscillators()->currentIndex(), 0);
    // Cut: copies the selected one and deletes it without asking.
    w.ClickTab(3);
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "Cu&t\tCtrl+X"});
    QCOMPARE(Origins(w), (QList<double>{2, 1, 2, 4}));
    QCOMPARE(FmReferences(w), (QList<int>{0, -1, 1, -1}));
    // The clipboard outlives File New.
    AnswerMessageBox(QMessageBox::No);
    ChooseMenuItem(w.Dialog->MenuBar(), {"File", "&New\tCtrl+N"});
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Paste\tCtrl+V"});
    QCOMPARE(Origins(w), (QList<double>{3, 2000}));
    QCOMPARE(FmReferences(w), (QList<int>{2, -1})); // kept as it was, dangling or not
}

void EditingTest::acceleratorsWhileTheTempoBoxHasTheFocus() {
    Window w;
    auto* tempo = static_cast<QLineEdit*>(w.Dialog->Control(1058));
    tempo->setFocus();
    tempo->selectAll();
    QTest::keyClick(tempo, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("120"));
    QVERIFY(!w.Dialog->HoldsClipboardOscillator());
    QTest::keyClick(tempo, Qt::Key_End);
    QTest::keyClick(tempo, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(tempo->text(), QStringLiteral("120120"));
    QCOMPARE(w.Dialog->CurrentSound().Count, 1);
    QTest::keyClick(tempo, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(tempo->text(), QStringLiteral("120"));
    // The Edit menu's items act on the box too while it has the focus.
    w.Dialog->CurrentSound().Oscillators[0].EndT = 300;
    w.Dialog->ShowOscillator(0);
    w.Dialog->CommitChanges();
    tempo->setFocus();
    QTest::keyClicks(tempo, QStringLiteral("5"));
    ChooseMenuItem(w.Dialog->MenuBar(), {"&Edit", "&Undo\tCtrl+Z"});
    QCOMPARE(tempo->text(), QStringLiteral("120"));
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].EndT, 300.0);
    // Keys a text box has no use for reach the window: Ctrl+N asks about the edit.
    QVERIFY(w.Activate());
    tempo->setFocus();
    const auto answer = AnswerMessageBox(QMessageBox::Cancel);
    QTest::keyClick(tempo, Qt::Key_N, Qt::ControlModifier);
    QVERIFY(answer->Shown);
    // With the focus on the tab row the same keys work on the oscillators.
    QVERIFY(w.Activate());
    w.Oscillators()->setFocus();
    QTest::keyClick(w.Oscillators(), Qt::Key_C, Qt::ControlModifier);
    QVERIFY(w.Dialog->HoldsClipboardOscillator());
    QTest::keyClick(w.Oscillators(), Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w.Dialog->CurrentSound().Count, 2);
    QTest::keyClick(w.Oscillators(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.Dialog->CurrentSound().Count, 1);
}

void EditingTest::screenshots() {
    const QTemporaryDir folder;
    Window w(OpenCommand(FourChained(folder)));
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            timer->stop();
            timer->deleteLater();
            SaveScreenshot(menu, QStringLiteral("tab-context-menu"));
            menu->close();
        }
    });
    timer->start();
    w.ClickTab(2, Qt::RightButton);
}

int main(int argc, char** argv) {
    PrivateHome home;
    QApplication application(argc, argv);
    EditingTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "editing_test.moc"
