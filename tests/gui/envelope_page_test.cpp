// The envelope page as a user meets it: the graph dragged with the mouse (with CTRL and
// SHIFT held), boxes typed into, the slider, the right-button menus of the value and time
// boxes, Zoom, and the undo steps that each gesture leaves.
#include <cmath>
#include <memory>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QStyleHints>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "app/main_dialog.h"
#include "editors/curve_display.h"
#include "editors/editor_host.h"
#include "editors/envelope_page.h"
#include "editors/frequency_edit.h"
#include "editors/note_names.h"
#include "editors/page_controls.h"
#include "editors/time_edit.h"
#include "gui/gui_test_support.h"
#include "model/snapshot.h"
#include "model/sound_file.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using namespace kettrik;

namespace {

// Counts the undo steps the window would record: commits that found the sound changed.
class StepCounter : public EditorHost {
public:
    explicit StepCounter(Sound& sound) : sound_(sound) { TakeSnapshot(*snapshot_, sound_, 0, 0); }
    void CommitChanges() override {
        ++Commits;
        if (FindChange(sound_, *snapshot_).Changed) {
            ++Steps;
            TakeSnapshot(*snapshot_, sound_, 0, 0);
        }
    }
    int Commits = 0;
    int Steps = 0;

private:
    Sound& sound_;
    std::unique_ptr<Snapshot> snapshot_ = std::make_unique<Snapshot>();
};

// A page on its own, bound as the window binds it, over a sound of a few oscillators.
struct PageFixture {
    explicit PageFixture(int count = 2)
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()),
          Table(std::make_unique<Sound>()) {
        NewSound(*Table);
        Table->Count = count;
        for (int i = 0; i < count; ++i) {
            NewOscillator(Table->Oscillators[i]);
            Table->Oscillators[i].Enabled = On;
        }
        Page = std::make_unique<CEnvelopePage>(Settings, Table->Oscillators);
        Counter = std::make_unique<StepCounter>(*Table);
        Page->SetHost(Counter.get());
        Page->show();
        if (!QTest::qWaitForWindowExposed(Page.get())) {
            qFatal("the page did not show");
        }
    }
    Oscillator& Osc(int i) { return Table->Oscillators[i]; }
    void BindFrequency(int i) {
        LinkOscillators(Table->Oscillators, Table->Count);
        Oscillator& o = Osc(i);
        Page->StartValueEdit()->NoteCapable = o.Filter == 0;
        Page->EndValueEdit()->NoteCapable = o.Filter == 0;
        Page->BindEnvelope(o.StartF, o.EndF, o.StartT, o.EndT, o.CurveShape0, o.FMModBy, o.FMModFac,
                           o, Ranges[0]);
        Settle();
    }
    void BindAmplitude(int i) {
        LinkOscillators(Table->Oscillators, Table->Count);
        Oscillator& o = Osc(i);
        Page->StartValueEdit()->NoteCapable = false;
        Page->EndValueEdit()->NoteCapable = false;
        Page->BindEnvelope(o.StartA, o.EndA, o.StartT, o.EndT, o.CurveShape1, o.AMModBy, o.AMModFac,
                           o, Ranges[1]);
        Settle();
    }
    // Paints now, so the handles are where the user sees them.
    void Settle() const { Display()->repaint(); }
    CCurveDisplay* Display() const { return Page->CurveDisplay(); }
    // A client point of the graph in the widget's coordinates.
    QPoint At(int x, int y) const { return Display()->contentsRect().topLeft() + QPoint(x, y); }
    QPoint StartHandle() const {
        return At(Display()->Handles().StartX, Display()->Handles().StartY);
    }
    QPoint EndHandle() const { return At(Display()->Handles().EndX, Display()->Handles().EndY); }
    int ClientWidth() const { return Display()->contentsRect().width(); }
    int ClientHeight() const { return Display()->contentsRect().height(); }

    // Press, move through the points with the button down, release; keys held throughout.
    void Drag(QPoint from, const QList<QPoint>& path, Qt::KeyboardModifiers keys = {}) const {
        QWidget* display = Display();
        QTest::mousePress(display, Qt::LeftButton, keys, from);
        for (const QPoint& point : path) {
            QMouseEvent move(QEvent::MouseMove, point, display->mapToGlobal(point), Qt::NoButton,
                             Qt::LeftButton, keys);
            QApplication::sendEvent(display, &move);
            Display()->repaint();
        }
        QTest::mouseRelease(display, Qt::LeftButton, keys, path.isEmpty() ? from : path.last());
        Display()->repaint();
    }
    void Type(QLineEdit* box, const QString& text) const {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }

    QTemporaryDir Folder;
    SettingsStore Settings;
    std::unique_ptr<Sound> Table;
    std::unique_ptr<CEnvelopePage> Page;
    std::unique_ptr<StepCounter> Counter;
    double Ranges[2] = {0.0, 0.0};
};

int Threshold() {
    return QGuiApplication::styleHints()->startDragDistance();
}

// Runs the action on the popup menu that the next right click opens, then closes it.
void OnNextMenu(const std::function<void(QMenu*)>& action) {
    QTimer::singleShot(0, [action] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr);
        action(menu);
        menu->close();
    });
}

QAction* Item(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions()) {
        if (action->text() == text) {
            return action;
        }
        if (action->menu() != nullptr) {
            if (QAction* inner = Item(action->menu(), text)) {
                return inner;
            }
        }
    }
    return nullptr;
}

// The right button as the platform reports it to the box: a context menu request.
void RightClick(QWidget* box) {
    const QPoint at(5, 5);
    QContextMenuEvent request(QContextMenuEvent::Mouse, at, box->mapToGlobal(at));
    QApplication::sendEvent(box, &request);
}

} // namespace

class EnvelopePageTest : public QObject {
    Q_OBJECT
private slots:
    void shapeBoxAndSliderFollowEachOther();
    void sliderGestureIsOneStep();
    void pressPicksTheHandle();
    void bendingFollowsThePointer();
    void handleWaitsForTheThresholdThenFollows();
    void shiftKeepsTheTimeAndCtrlTheValue();
    void pointsStayOrderedAndPositive();
    void rangesGrowAfterRelease();
    void linkedPointsAreRedAndFollow();
    void boxesTravelWithTheHandles();
    void typingIsRecordedWhenTheBoxIsLeft();
    void typedValuesAreStoredAsTyped();
    void zoomFitsTheEnvelope();
    void noRangeMeansAnEmptyGraph();
    void commentBelongsToItsOscillator();
    void frequencyMenuChecksAndSettings();
    void snappingToNotesOnlyWhileDragging();
    void timeMenuChecksAndSettings();
    void beatsAndTheSnapGrid();
    void noTempoKeepsStoredTimes();
    void modulationListInTheWindow();
    void enterInABoxPressesPlay();
    void screenshots();
};

void EnvelopePageTest::shapeBoxAndSliderFollowEachOther() {
    PageFixture f;
    f.Osc(0).CurveShape0 = 0.3;
    f.BindFrequency(0);
    QCOMPARE(f.Page->ShapeBox()->text(), QStringLiteral("0.3"));
    QCOMPARE(f.Page->ShapeSlider()->value(), -26);
    f.Type(f.Page->ShapeBox(), QStringLiteral("2"));
    QCOMPARE(f.Osc(0).CurveShape0, 2.0);
    QCOMPARE(f.Page->ShapeSlider()->value(), 15);
    // Fifteen steps right with the keyboard: +30 is 10^0.6, shown with three digits.
    f.Page->ShapeSlider()->setFocus();
    for (int i = 0; i < 15; ++i) {
        QTest::keyClick(f.Page->ShapeSlider(), Qt::Key_Right);
    }
    QCOMPARE(f.Page->ShapeSlider()->value(), 30);
    QCOMPARE(f.Osc(0).CurveShape0, std::pow(10.0, 0.6));
    QCOMPARE(f.Page->ShapeBox()->text(), QStringLiteral("3.98"));
    // Non-numbers and shapes of 0 or less put the slider at its left end.
    for (const char* text : {"abc", "-1", "0"}) {
        f.Type(f.Page->ShapeBox(), QString::fromLatin1(text));
        QCOMPARE(f.Page->ShapeSlider()->value(), -100);
    }
    f.Type(f.Page->ShapeBox(), QStringLiteral("1e9"));
    QCOMPARE(f.Page->ShapeSlider()->value(), 100);
}

void EnvelopePageTest::sliderGestureIsOneStep() {
    PageFixture f;
    f.Osc(0).CurveShape0 = 1; // the knob in the middle
    f.BindFrequency(0);
    QSlider* slider = f.Page->ShapeSlider();
    const int steps = f.Counter->Steps;
    // Drag the slider's knob from the middle to the right with the mouse.
    const QPoint knob(slider->width() / 2, slider->height() / 2);
    QTest::mousePress(slider, Qt::LeftButton, {}, knob);
    for (int dx = 5; dx <= 40; dx += 5) {
        const QPoint to = knob + QPoint(dx, 0);
        QMouseEvent move(QEvent::MouseMove, to, slider->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(slider, &move);
    }
    QVERIFY(slider->value() > 0);
    QCOMPARE(f.Counter->Steps, steps); // nothing recorded while the knob is held
    QTest::mouseRelease(slider, Qt::LeftButton, {}, knob + QPoint(40, 0));
    QCOMPARE(f.Counter->Steps, steps + 1);
    QCOMPARE(f.Osc(0).CurveShape0, std::pow(10.0, slider->value() * 0.02));
}

void EnvelopePageTest::pressPicksTheHandle() {
    PageFixture f;
    f.BindAmplitude(0);
    const struct {
        QPoint Offset;
        bool FromStart;
        int Mode;
    } presses[] = {
        {{0, 0}, true, MoveStartPoint},  {{6, 5}, true, BendCurve},
        {{5, -5}, true, MoveStartPoint}, {{0, 0}, false, MoveEndPoint},
        {{-6, 0}, false, BendCurve},     {{-5, 0}, false, MoveEndPoint},
    };
    for (const auto& p : presses) {
        const QPoint at = (p.FromStart ? f.StartHandle() : f.EndHandle()) + p.Offset;
        QTest::mousePress(f.Display(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(f.Display(), Qt::LeftButton, {}, at);
        QVERIFY2(f.Display()->DragMode() == p.Mode,
                 qPrintable(QStringLiteral("%1,%2 from %3,%4 start %5,%6")
                                .arg(p.Offset.x())
                                .arg(p.Offset.y())
                                .arg(at.x())
                                .arg(at.y())
                                .arg(f.StartHandle().x())
                                .arg(f.StartHandle().y())));
    }
    // With both points in one place, the end point is the one that moves.
    f.Osc(0).EndT = 0;
    f.Osc(0).EndA = f.Osc(0).StartA;
    f.BindAmplitude(0);
    f.Drag(f.StartHandle(), {f.StartHandle() + QPoint(Threshold() + 30, 0)});
    QCOMPARE(f.Osc(0).StartT, 0.0);
    QVERIFY(f.Osc(0).EndT > 0);
}

void EnvelopePageTest::bendingFollowsThePointer() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    o.StartA = 0;
    o.EndA = 1;
    o.StartT = 0;
    o.EndT = 100;
    f.BindAmplitude(0);
    const CurveHandles& h = f.Display()->Handles();
    // Half way in time, a quarter of the way up from 0 to 1: a parabola.
    const int x = (h.StartX + h.EndX) / 2;
    const int y = f.ClientHeight() - TruncPixel(0.25 * f.ClientHeight() / f.Ranges[1]);
    const int steps = f.Counter->Steps;
    f.Drag(f.At(x, f.ClientHeight() / 2), {f.At(x, y)});
    QVERIFY2(std::fabs(o.CurveShape1 - 2.0) < 0.1, qPrintable(QString::number(o.CurveShape1)));
    QCOMPARE(f.Page->ShapeSlider()->value(), ShapeSliderPosition(o.CurveShape1));
    QCOMPARE(f.Counter->Steps, steps + 1);
    // Left of the start, right of the end, above the larger or below the smaller value: no
    // change.
    const double shape = o.CurveShape1;
    const int top = f.ClientHeight() - TruncPixel(1.05 * f.ClientHeight() / f.Ranges[1]);
    for (const QPoint& p : {f.At(h.StartX - 3, y), f.At(h.EndX + 3, y), f.At(x, top),
                            f.At(x, f.ClientHeight() + 5)}) {
        f.Drag(f.At(x, f.ClientHeight() / 2), {p});
        QCOMPARE(o.CurveShape1, shape);
    }
    // A flat envelope cannot be bent.
    o.EndA = 0;
    f.BindAmplitude(0);
    f.Drag(f.At(x, f.ClientHeight() / 2), {f.At(x, y)});
    QCOMPARE(o.CurveShape1, shape);
}

void EnvelopePageTest::handleWaitsForTheThresholdThenFollows() {
    PageFixture f;
    f.BindAmplitude(0);
    Oscillator& o = f.Osc(0);
    const QPoint end = f.EndHandle();
    const double timeRange = f.Display()->TimeRange;
    f.Drag(end, {end + QPoint(Threshold(), -Threshold())});
    QCOMPARE(o.EndT, 200.0);
    QCOMPARE(o.EndA, 0.0);
    const QPoint to = end + QPoint(Threshold() + 12, -(Threshold() + 20));
    f.Drag(end, {end + QPoint(Threshold() + 1, 0), to});
    const QPoint client = to - f.Display()->contentsRect().topLeft();
    QCOMPARE(o.EndT, client.x() * timeRange / f.ClientWidth());
    QVERIFY(o.EndA > 0);
}

void EnvelopePageTest::shiftKeepsTheTimeAndCtrlTheValue() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    o.StartT = 50;
    o.EndT = 150;
    o.StartA = 0.5;
    f.BindAmplitude(0);
    const QPoint move(Threshold() + 15, -(Threshold() + 15));
    f.Drag(f.EndHandle(), {f.EndHandle() + move}, Qt::ShiftModifier);
    QCOMPARE(o.EndT, 150.0);
    QVERIFY(o.EndA > 0);
    const double endA = o.EndA;
    f.Drag(f.EndHandle(), {f.EndHandle() + move}, Qt::ControlModifier);
    QCOMPARE(o.EndA, endA);
    QVERIFY(o.EndT > 150);
    // CTRL on the start point carries the end time along: the envelope keeps its length.
    const double length = o.EndT - o.StartT;
    f.Drag(f.StartHandle(), {f.StartHandle() + QPoint(Threshold() + 10, 0)}, Qt::ControlModifier);
    QVERIFY(o.StartT > 50);
    QCOMPARE(o.StartA, 0.5);
    QCOMPARE(o.EndT - o.StartT, length);
}

void EnvelopePageTest::pointsStayOrderedAndPositive() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    o.StartT = 20;
    o.EndT = 100;
    f.BindAmplitude(0);
    f.Drag(f.StartHandle(),
           {f.StartHandle() + QPoint(Threshold() + 1, 0), f.At(f.ClientWidth() - 2, 20)});
    QCOMPARE(o.StartT, o.EndT);
    o.StartT = 20;
    f.BindAmplitude(0);
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(-Threshold() - 1, 0), f.At(1, 20)});
    QCOMPARE(o.EndT, o.StartT);
    o.EndT = 100;
    f.BindAmplitude(0);
    f.Drag(f.StartHandle(), {f.At(-40, f.ClientHeight() + 40)});
    QCOMPARE(o.StartT, 0.0);
    QCOMPARE(o.StartA, 0.0);
}

void EnvelopePageTest::rangesGrowAfterRelease() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    f.BindAmplitude(0);
    const double range = f.Ranges[1];
    QCOMPARE(range, 1.1 * 0.95);
    const QPoint above = f.At(f.Display()->Handles().EndX, -30);
    QTest::mousePress(f.Display(), Qt::LeftButton, {}, f.EndHandle());
    QMouseEvent move(QEvent::MouseMove, above, f.Display()->mapToGlobal(above), Qt::NoButton,
                     Qt::LeftButton, {});
    QApplication::sendEvent(f.Display(), &move);
    QVERIFY(o.EndA > range); // beyond the top while held
    QCOMPARE(f.Ranges[1], range);
    QTest::mouseRelease(f.Display(), Qt::LeftButton, {}, above);
    QCOMPARE(f.Ranges[1], 1.1 * o.EndA);
    // Beyond the right edge: the time range follows on release.
    f.Drag(f.EndHandle(), {f.At(f.ClientWidth() + 60, f.Display()->Handles().EndY)});
    QCOMPARE(f.Display()->TimeRange, 1.1 * o.EndT);
}

void EnvelopePageTest::linkedPointsAreRedAndFollow() {
    PageFixture f(2);
    Oscillator& first = f.Osc(0);
    Oscillator& second = f.Osc(1);
    first.StartT = 0;
    first.EndT = 100;
    first.EndF = second.StartF = 500;
    first.EndA = second.StartA = 0.5;
    second.StartT = 100;
    second.EndT = 200;
    f.BindFrequency(0);
    QCOMPARE(first.NextLinked, 1);
    const QImage picture = f.Display()->grab().toImage();
    QCOMPARE(picture.pixelColor(f.EndHandle()), QColor(255, 0, 0));
    QCOMPARE(picture.pixelColor(f.StartHandle() + QPoint(1, 0)), QColor(0, 128, 0));
    // Dragging the joined end on the frequency page carries the neighbour's start along, its
    // amplitude too.
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(Threshold() + 20, -(Threshold() + 20))});
    QVERIFY(first.EndT > 100);
    QCOMPARE(second.StartT, first.EndT);
    QCOMPARE(second.StartF, first.EndF);
    QCOMPARE(second.StartA, first.EndA);
    // From the second one, its joined start is red and moves the first one's end.
    f.BindFrequency(1);
    QCOMPARE(second.PrevLinked, 0);
    QCOMPARE(f.Display()->grab().toImage().pixelColor(f.StartHandle()), QColor(255, 0, 0));
    f.Drag(f.StartHandle(), {f.StartHandle() + QPoint(0, Threshold() + 10)});
    QCOMPARE(first.EndF, second.StartF);
}

void EnvelopePageTest::boxesTravelWithTheHandles() {
    PageFixture f;
    f.BindAmplitude(0);
    const QRect outer = f.Display()->geometry();
    const auto check = [&] {
        const CurveHandles& h = f.Display()->Handles();
        QCOMPARE(f.Page->StartValueEdit()->y(), outer.top() + h.StartY - 5);
        QCOMPARE(f.Page->EndValueEdit()->y(), outer.top() + h.EndY - 5);
        QCOMPARE(f.Page->StartTimeEdit()->x(), outer.left() + h.StartX - 35);
        QCOMPARE(f.Page->EndTimeEdit()->x(), outer.left() + h.EndX);
    };
    check();
    const int endBoxY = f.Page->EndValueEdit()->y();
    const int endTimeX = f.Page->EndTimeEdit()->x();
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(-(Threshold() + 20), -(Threshold() + 30))});
    check();
    QVERIFY(f.Page->EndValueEdit()->y() < endBoxY);
    QVERIFY(f.Page->EndTimeEdit()->x() < endTimeX);
}

void EnvelopePageTest::typingIsRecordedWhenTheBoxIsLeft() {
    PageFixture f;
    f.BindFrequency(0);
    const int steps = f.Counter->Steps;
    f.Type(f.Page->EndValueEdit(), QStringLiteral("300"));
    QCOMPARE(f.Osc(0).EndF, 300.0);
    QCOMPARE(f.Counter->Steps, steps);
    f.Page->AmountBox()->setFocus(); // Tab would do the same
    QCOMPARE(f.Counter->Steps, steps + 1);
    f.Type(f.Page->AmountBox(), QStringLiteral("0.25"));
    QCOMPARE(f.Osc(0).FMModFac, 0.25);
    f.Display()->setFocus(); // leaving for the graph records the amount first
    QCOMPARE(f.Counter->Steps, steps + 2);
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(0, -(Threshold() + 10))});
    QCOMPARE(f.Counter->Steps, steps + 3);
}

void EnvelopePageTest::typedValuesAreStoredAsTyped() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    f.BindAmplitude(0);
    f.Type(f.Page->StartTimeEdit(), QStringLiteral("5000"));
    QCOMPARE(o.StartT, 5000.0);
    QCOMPARE(o.EndT, 200.0);
    // Note names are read on every tab.
    f.Type(f.Page->StartValueEdit(), QStringLiteral("A3"));
    QCOMPARE(o.StartA, 440.0);
    // A box showing a note stores the note's frequency when any box is edited.
    o.StartF = 450;
    f.BindFrequency(0);
    QCOMPARE(f.Page->StartValueEdit()->text(), QStringLiteral("A3+39"));
    f.Type(f.Page->EndValueEdit(), QStringLiteral("100"));
    QCOMPARE(o.StartF, NoteToFrequency(9, 3, 39));
}

void EnvelopePageTest::zoomFitsTheEnvelope() {
    PageFixture f(2);
    f.Osc(0).StartF = 1000;
    f.Osc(0).EndF = 200;
    f.Osc(0).StartT = 0;
    f.Osc(0).EndT = 50;
    f.Osc(1).EndT = 500;
    f.BindFrequency(1);
    f.BindFrequency(0);
    QCOMPARE(f.Display()->TimeRange, 1.1 * 500);
    QTest::mouseClick(static_cast<QPushButton*>(f.Page->Control(1023)), Qt::LeftButton);
    QCOMPARE(f.Ranges[0], 1.1 * 1000);
    QCOMPARE(f.Display()->TimeRange, 1.1 * 50);
}

void EnvelopePageTest::noRangeMeansAnEmptyGraph() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    o.StartA = o.EndA = 0;
    o.StartT = o.EndT = 0;
    f.BindAmplitude(0);
    QTest::mouseClick(static_cast<QPushButton*>(f.Page->Control(1023)), Qt::LeftButton);
    QCOMPARE(f.Ranges[1], 0.0);
    QCOMPARE(f.Display()->TimeRange, 0.0);
    const QImage picture = f.Display()->grab(f.Display()->contentsRect()).toImage();
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            QCOMPARE(picture.pixelColor(x, y), QColor(Qt::white));
        }
    }
    f.Drag(f.At(10, 10), {f.At(60, 60), f.At(90, 20)});
    QCOMPARE(o.StartA, 0.0);
    QCOMPARE(o.EndA, 0.0);
    QCOMPARE(o.EndT, 0.0);
    // Typing a length and a value gives the graph its ranges again.
    f.Type(f.Page->EndTimeEdit(), QStringLiteral("100"));
    f.Type(f.Page->StartValueEdit(), QStringLiteral("1"));
    QCOMPARE(f.Ranges[1], 1.1);
    QCOMPARE(f.Display()->TimeRange, 110.0);
}

void EnvelopePageTest::commentBelongsToItsOscillator() {
    PageFixture f(2);
    f.BindFrequency(1);
    f.Page->CommentBox()->setFocus();
    QTest::keyClicks(f.Page->CommentBox(), QStringLiteral("kick body"));
    const std::string_view typed = GetText(f.Osc(1).Comment);
    QCOMPARE(QString::fromUtf8(typed.data(), static_cast<qsizetype>(typed.size())),
             QStringLiteral("kick body"));
    QCOMPARE(GetText(f.Osc(0).Comment).size(), std::size_t{0});
    // Long comments are cut to what the record holds, never in the middle of a character.
    f.Page->CommentBox()->setPlainText(QString(300, QChar(0x00e9)));
    const std::string_view kept = GetText(f.Osc(1).Comment);
    QCOMPARE(kept.size(), std::size_t{248});
    QCOMPARE(QString::fromUtf8(kept.data(), static_cast<qsizetype>(kept.size())),
             QString(124, QChar(0x00e9)));
}

void EnvelopePageTest::frequencyMenuChecksAndSettings() {
    PageFixture f;
    f.Osc(0).StartF = 450;
    f.BindFrequency(0);
    CFrequencyEdit* start = f.Page->StartValueEdit();
    CFrequencyEdit* end = f.Page->EndValueEdit();
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "Note")->isChecked());
        QVERIFY(!Item(menu, "Hz")->isChecked());
        QVERIFY(Item(menu, "Snap to note")->isEnabled());
        QVERIFY(!Item(menu, "Snap to note")->isChecked());
        QVERIFY(Item(menu, "&Copy\tCtrl+C") != nullptr);
        Item(menu, "Hz")->trigger();
    });
    RightClick(start);
    QCOMPARE(start->text(), QStringLiteral("450"));
    QCOMPARE(f.Settings.GetString(settings::Kettrik, settings::ShowNotes, ""), "0");
    QVERIFY(end->ShowNotes); // the other box keeps its mode
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "Hz")->isChecked());
        QVERIFY(!Item(menu, "Snap to note")->isEnabled()); // grayed while showing Hz
    });
    RightClick(start);
    OnNextMenu([](QMenu* menu) { Item(menu, "Snap to note")->trigger(); });
    RightClick(end);
    QVERIFY(end->SnapToNotes);
    QCOMPARE(f.Settings.GetString(settings::Kettrik, settings::SnapToNotes, ""), "1");
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "Snap to note")->isChecked());
        Item(menu, "Snap to note")->trigger();
    });
    RightClick(end);
    QCOMPARE(f.Settings.GetString(settings::Kettrik, settings::SnapToNotes, ""), "0");
    // A new box reads what was written.
    const CFrequencyEdit fresh(f.Settings);
    QVERIFY(!fresh.ShowNotes);
    // Boxes that cannot show notes offer the ordinary edit menu.
    f.BindAmplitude(0);
    RightClick(start);
    auto* standard = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(standard != nullptr);
    QVERIFY(Item(standard, "Snap to note") == nullptr);
    standard->close();
}

void EnvelopePageTest::snappingToNotesOnlyWhileDragging() {
    PageFixture f;
    f.Settings.WriteString(settings::Kettrik, settings::SnapToNotes, "1");
    f.Page = std::make_unique<CEnvelopePage>(f.Settings, f.Table->Oscillators);
    f.Page->SetHost(f.Counter.get());
    f.Page->show();
    QVERIFY(QTest::qWaitForWindowExposed(f.Page.get()));
    Oscillator& o = f.Osc(0);
    f.BindFrequency(0);
    f.Type(f.Page->EndValueEdit(), QStringLiteral("1000"));
    QCOMPARE(o.EndF, 1000.0);
    // A drag that moves only the time still snaps the values shown as notes.
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(Threshold() + 5, 0)}, Qt::ControlModifier);
    QCOMPARE(f.Page->EndValueEdit()->text(), QStringLiteral("B4+00"));
    QVERIFY(std::fabs(o.EndF - 987.7666) < 0.0001);
    // Not on the amplitude page: those boxes never show notes.
    o.EndA = 0.3;
    f.BindAmplitude(0);
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(Threshold() + 5, 0)}, Qt::ControlModifier);
    QCOMPARE(o.EndA, 0.3);
}

void EnvelopePageTest::timeMenuChecksAndSettings() {
    PageFixture f;
    f.BindAmplitude(0);
    CTimeEdit* start = f.Page->StartTimeEdit();
    QCOMPARE(start->text(), QStringLiteral("0:000"));
    QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("0:400"));
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "beat:fraction")->isChecked());
        QVERIFY(!Item(menu, "milliseconds (ms)")->isChecked());
        QVERIFY(Item(menu, "none")->isChecked());
        QVERIFY(Item(menu, "1/8 note")->isEnabled());
        Item(menu, "1/8 note")->trigger();
    });
    RightClick(start);
    QCOMPARE(start->SnapCode, 2);
    QCOMPARE(f.Settings.GetString(settings::Kettrik, settings::SnapToTime, ""), "2");
    QCOMPARE(start->text(), QStringLiteral("0:000"));
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "none")->isChecked()); // the end box keeps its own grid
        Item(menu, "milliseconds (ms)")->trigger();
    });
    RightClick(f.Page->EndTimeEdit());
    QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("200"));
    QCOMPARE(f.Settings.GetString(settings::Kettrik, settings::ShowTime, ""), "0");
    QVERIFY(start->ShowTime); // the start box keeps beats
    OnNextMenu([](QMenu* menu) {
        QVERIFY(Item(menu, "milliseconds (ms)")->isChecked());
        for (const char* grid : {"none", "1/4 note", "1/8 note", "1/16 note", "1/32 note"}) {
            QVERIFY(!Item(menu, grid)->isEnabled()); // grayed in millisecond mode
        }
    });
    RightClick(f.Page->EndTimeEdit());
}

void EnvelopePageTest::beatsAndTheSnapGrid() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    f.BindAmplitude(0);
    f.Type(f.Page->EndTimeEdit(), QStringLiteral("300"));
    QCOMPARE(o.EndT, 300.0);
    f.BindAmplitude(0);
    QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("0:600"));
    f.Type(f.Page->EndTimeEdit(), QStringLiteral("2:468"));
    QCOMPARE(o.EndT, 1234.0);
    // The 1/4 grid: a dragged time moves down to the beat; the other box snaps as well.
    o.StartT = 130;
    o.EndT = 999;
    f.Page->StartTimeEdit()->SnapCode = 1;
    f.Page->EndTimeEdit()->SnapCode = 1;
    f.BindAmplitude(0);
    QCOMPARE(o.EndT, 999.0); // showing alone never snaps
    f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(0, -(Threshold() + 5))});
    QCOMPARE(o.EndT, 500.0);
    QCOMPARE(o.StartT, 0.0);
    QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("1:000"));
}

void EnvelopePageTest::noTempoKeepsStoredTimes() {
    PageFixture f;
    Oscillator& o = f.Osc(0);
    o.EndT = 1234;
    f.BindAmplitude(0);
    QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("2:468"));
    for (const double tempo : {0.0, -60.0, std::nan("")}) {
        f.Page->StartTimeEdit()->Tempo = tempo;
        f.Page->EndTimeEdit()->Tempo = tempo;
        // An edit elsewhere reads every box: the beat text cannot be read, the time stays.
        f.Type(f.Page->StartValueEdit(), QStringLiteral("0.5"));
        QCOMPARE(o.EndT, 1234.0);
        f.BindAmplitude(0);
        QCOMPARE(f.Page->EndTimeEdit()->text(), QStringLiteral("1234"));
        f.Page->StartTimeEdit()->SnapCode = 1;
        f.Drag(f.EndHandle(), {f.EndHandle() + QPoint(0, -(Threshold() + 5))});
        QCOMPARE(o.EndT, 1234.0);
        QCOMPARE(o.StartT, 0.0);
        f.Page->StartTimeEdit()->Tempo = 120;
        f.Page->EndTimeEdit()->Tempo = 120;
        f.BindAmplitude(0);
    }
}

namespace {

// The window as start-up leaves it, over a sound file of our own.
struct Window {
    explicit Window(int count, const std::function<void(int, Oscillator&)>& edit)
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()) {
        auto sound = std::make_unique<Sound>();
        NewSound(*sound);
        sound->Count = count;
        for (int i = 0; i < count; ++i) {
            NewOscillator(sound->Oscillators[i]);
            sound->Oscillators[i].Enabled = On;
            edit(i, sound->Oscillators[i]);
        }
        const QString path = Folder.filePath(QStringLiteral("sound.ktu"));
        if (!SaveSound(path.toStdString(), *sound)) {
            qFatal("could not write the sound");
        }
        StartupCommand command;
        command.Form = StartupCommand::Kind::OpenFile;
        command.FilePath = path;
        Dialog = std::make_unique<CMainDialog>(Settings, Player, command);
        Dialog->show();
        if (!QTest::qWaitForWindowExposed(Dialog.get())) {
            qFatal("the window did not show");
        }
    }
    void ClickTab(QTabBar* row, int index) const {
        QTest::mouseClick(row, Qt::LeftButton, {}, row->tabRect(index).center());
    }
    QTemporaryDir Folder;
    SettingsStore Settings;
    AudioPlayer Player;
    std::unique_ptr<CMainDialog> Dialog;
};

} // namespace

void EnvelopePageTest::modulationListInTheWindow() {
    Window w(12, [](int, Oscillator&) {});
    QComboBox* list = w.Dialog->EnvelopePage()->ModulationList();
    QStringList entries;
    for (int i = 0; i < list->count(); ++i) {
        entries << list->itemText(i);
    }
    QCOMPARE(entries,
             (QStringList{"-", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12"}));
    QCOMPARE(list->currentIndex(), 0);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Down);
    QCOMPARE(list->currentText(), QStringLiteral("2"));
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].FMModBy, 1);
    QVERIFY(w.Dialog->Modified()); // choosing is a whole gesture
    QTest::keyClick(list, Qt::Key_Home);
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].FMModBy, -1);
    // The amplitude tab edits the other modulation.
    w.ClickTab(w.Dialog->ParameterTabBar(), 1);
    list->setFocus();
    QTest::keyClick(list, Qt::Key_End);
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].AMModBy, 11);
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].FMModBy, -1);
}

void EnvelopePageTest::enterInABoxPressesPlay() {
    Window w(1, [](int, Oscillator&) {});
    QLineEdit* box = w.Dialog->EnvelopePage()->EndTimeEdit();
    box->setFocus();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("100"));
    QTest::keyClick(box, Qt::Key_Return);
    QVERIFY(!w.Dialog->PlaybackFile().empty());
    QCOMPARE(w.Dialog->CurrentSound().Oscillators[0].EndT, 100.0);
    QVERIFY(w.Dialog->Modified());
}

void EnvelopePageTest::screenshots() {
    Window w(3, [](int i, Oscillator& o) {
        o.StartT = i == 1 ? 120 : 0;
        o.EndT = 120 + 100 * i;
        o.StartF = 450;
        o.EndF = 60;
        o.CurveShape0 = 0.3;
        o.StartA = 0.9;
        o.EndA = 0.1;
        o.CurveShape1 = 2;
        if (i == 1) { // joined to the first: a red start handle
            o.StartF = 60;
            o.StartA = 0.1;
        }
        if (i == 2) {
            o.Filter = 1;
            o.StartF = 8000;
            o.EndF = 300;
            o.CurveShape0 = 0.5;
            SetText(o.Comment, "low-pass sweep");
        }
    });
    CEnvelopePage* page = w.Dialog->EnvelopePage();
    SetText(w.Dialog->CurrentSound().Oscillators[0].Comment, "kick body");
    w.Dialog->ShowOscillator(0);
    page->repaint();
    test::SaveScreenshot(page, QStringLiteral("envelope-frequency-notes"));
    w.ClickTab(w.Dialog->ParameterTabBar(), 1);
    page->repaint();
    test::SaveScreenshot(page, QStringLiteral("envelope-amplitude"));
    w.ClickTab(w.Dialog->OscillatorTabs(), 1);
    w.ClickTab(w.Dialog->ParameterTabBar(), 0);
    page->repaint();
    test::SaveScreenshot(page, QStringLiteral("envelope-linked"));
    w.ClickTab(w.Dialog->OscillatorTabs(), 2);
    page->repaint();
    test::SaveScreenshot(page, QStringLiteral("envelope-filter-cutoff"));
    QCOMPARE(page->StartValueEdit()->text(), QStringLiteral("8000"));
}

int main(int argc, char** argv) {
    test::PrivateHome home;
    QApplication application(argc, argv);
    EnvelopePageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "envelope_page_test.moc"
