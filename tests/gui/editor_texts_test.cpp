// The texts of the value and time boxes and the arithmetic of the envelope graph, checked
// against the tables users see, under a process locale whose decimal point is a comma.
#include <clocale>
#include <cmath>
#include <limits>

#include <QTest>

#include "editors/beat_time.h"
#include "editors/curve_geometry.h"
#include "editors/note_names.h"
#include "editors/wave_geometry.h"

using namespace kettrik;

namespace {

constexpr double NaN = std::numeric_limits<double>::quiet_NaN();

} // namespace

class EditorTextsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void notesShownForFrequencies();
    void noteTextsRead();
    void snappingToNotes();
    void timesShownAsBeats();
    void timeTextsRead();
    void snapGridMovesDown();
    void unusableTempoKeepsMilliseconds();
    void handlesAndHitTests();
    void bendingTheCurve();
    void draggingAPointWaitsForTheThreshold();
    void rescaleOnlyGrows();
    void previewRowsAndDragShape();
};

void EditorTextsTest::initTestCase() {
    // printf under this locale would write "2,468"; the boxes must not.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
}

void EditorTextsTest::notesShownForFrequencies() {
    const struct {
        double Hz;
        const char* Text;
    } cases[] = {
        {450, "A3+39"},         {430, "A3-40"},   {1000, "B4+21"},    {2000, "B5+21"},
        {100, "G1+35"},         {32, "C0-38"},    {20000, "D#9+7.6"}, {440, "A3+00"},
        {31.5, "31.5"},         {33000, "33000"}, {0, "0"},           {-5, "-5"},
        {123456, "1.2346e+05"}, {NaN, "0"},
    };
    for (const auto& c : cases) {
        double value = c.Hz;
        QCOMPARE(QString::fromStdString(FrequencyText(value, false, true, true, false)),
                 QString::fromLatin1(c.Text));
        QVERIFY(value == c.Hz || std::isnan(c.Hz)); // showing never changes a value
    }
    // Cents: two significant digits, at least two characters, zero-padded.
    const struct {
        double Remainder;
        const char* Text;
    } cents[] = {{0.05, "A3+05"}, {0.0294, "A3+2.9"}, {0.00029, "A3+0.029"}, {-0.38, "A3-38"}};
    for (const auto& c : cents) {
        NotePosition note{9, 3, c.Remainder, -3};
        QCOMPARE(QString::fromStdString(NoteText(note)), QString::fromLatin1(c.Text));
    }
    // Not a note-capable box, or Hz chosen: plain numbers.
    double value = 450;
    QCOMPARE(QString::fromStdString(FrequencyText(value, true, false, true, true)), "450");
    QCOMPARE(QString::fromStdString(FrequencyText(value, true, true, false, true)), "450");
    QCOMPARE(value, 450.0);
}

void EditorTextsTest::noteTextsRead() {
    const struct {
        const char* Text;
        double Hz;
    } cases[] = {
        {"A3", 440},
        {"a3", 440},
        {"C4", 523.2511},
        {"A3+50", 452.893},
        {"A3-50", 427.474},
        {"C#2", 138.591},
        {"B5+21", 1999.643},
        {"c#4-12", 550.536},
        {"100", 100},
        {"H3", 0},
        {"A", 0},
        {"A#", 0},
        {"", 0},
        {"7", 7},
        {" 2.5e3", 2500},
    };
    for (const auto& c : cases) {
        const double read = ReadFrequencyText(c.Text);
        QVERIFY2(
            std::fabs(read - c.Hz) < 0.001,
            qPrintable(QStringLiteral("%1 reads %2").arg(QString::fromLatin1(c.Text)).arg(read)));
    }
    // Only sharps are names: Bb3 is B with 'B' as its octave digit, far above hearing.
    QVERIFY(ReadFrequencyText("Bb3") > 1e6);
    // Whatever follows, the result is a number, never an infinity.
    QCOMPARE(ReadFrequencyText("A3+1e300"), 0.0);
    QVERIFY(std::isfinite(ReadFrequencyText("A\xc3\xa4")));
    // The two conversions agree around the whole range of notes shown.
    for (int octave = 0; octave <= 9; ++octave) {
        for (int index = 0; index < 12; ++index) {
            const NotePosition note = FrequencyToNote(NoteToFrequency(index, octave, 0));
            QCOMPARE(note.Index, index);
            QCOMPARE(note.Octave, octave);
            QVERIFY(std::fabs(note.Remainder) < 1e-9);
        }
    }
}

void EditorTextsTest::snappingToNotes() {
    double value = 1000;
    QCOMPARE(QString::fromStdString(FrequencyText(value, true, true, true, true)), "B4+00");
    QVERIFY(std::fabs(value - 987.7666) < 0.0001);
    // Snapping wants both the request and the setting; 0 is never snapped.
    for (const auto& [snap, setting] : {std::pair{false, true}, std::pair{true, false}}) {
        double kept = 1000;
        FrequencyText(kept, snap, true, true, setting);
        QCOMPARE(kept, 1000.0);
    }
    double zero = 0;
    QCOMPARE(QString::fromStdString(FrequencyText(zero, true, true, true, true)), "0");
    // Outside the octaves shown: snapped, then shown in Hz.
    double high = 40000;
    const std::string text = FrequencyText(high, true, true, true, true);
    QVERIFY(high != 40000.0);
    QCOMPARE(QString::fromStdString(text), QString::number(high, 'g', 5));
}

void EditorTextsTest::timesShownAsBeats() {
    const struct {
        double Ms;
        const char* Beats;
        const char* Milliseconds;
    } cases[] = {
        {0, "0:000", "0"},        {200, "0:400", "200"},   {250, "0:500", "250"},
        {500, "1:000", "500"},    {1234, "2:468", "1234"}, {10000, "20:000", "10000"},
        {-100, "-0:200", "-100"}, {0.5, "0:001", "0.5"},   {123456, "246:912", "1.2346e+05"},
    };
    for (const auto& c : cases) {
        double beats = c.Ms;
        QCOMPARE(QString::fromStdString(TimeText(beats, false, true, 2, 120)),
                 QString::fromLatin1(c.Beats));
        double ms = c.Ms;
        QCOMPARE(QString::fromStdString(TimeText(ms, true, false, 2, 120)),
                 QString::fromLatin1(c.Milliseconds));
        QCOMPARE(beats, c.Ms);
        QCOMPARE(ms, c.Ms); // no snapping in millisecond mode
    }
    QCOMPARE(MsToBeats(1234, 120), 2.468);
    QCOMPARE(BeatsToMs(2.468, 120), 1234.0);
}

void EditorTextsTest::timeTextsRead() {
    const struct {
        const char* Text;
        double Ms;
    } cases[] = {
        {"1:5", 750}, {"1:500", 750}, {"0:250", 125}, {"2:468", 1234},  {"300", 300},
        {":5", 0},    {"", 0},        {"abc", 0},     {"-0:200", -100}, {"1:2:3", 600},
    };
    for (const auto& c : cases) {
        const std::optional<double> read = ReadTimeText(c.Text, 120);
        QVERIFY(read.has_value());
        QVERIFY2(
            std::fabs(*read - c.Ms) < 1e-9,
            qPrintable(QStringLiteral("%1 reads %2").arg(QString::fromLatin1(c.Text)).arg(*read)));
    }
}

void EditorTextsTest::snapGridMovesDown() {
    const struct {
        int Code;
        double Ms;
        double Snapped;
    } cases[] = {
        {2, 380, 250}, {2, 499, 250},  {2, 500, 500}, {2, 760, 750},
        {1, 999, 500}, {3, 130, 125},  {4, 70, 62.5}, {5, 40, 31.25},
        {9, 999, 500}, {-1, 999, 500}, {0, 999, 999}, {2, -380, -250},
    };
    for (const auto& c : cases) {
        double ms = c.Ms;
        TimeText(ms, true, true, c.Code, 120);
        QVERIFY2(ms == c.Snapped,
                 qPrintable(QStringLiteral("code %1: %2 -> %3").arg(c.Code).arg(c.Ms).arg(ms)));
    }
    double ms = 760;
    QCOMPARE(QString::fromStdString(TimeText(ms, true, true, 2, 120)), "1:500");
}

void EditorTextsTest::unusableTempoKeepsMilliseconds() {
    for (const double tempo : {0.0, -120.0, NaN, std::numeric_limits<double>::infinity()}) {
        double ms = 1234;
        QCOMPARE(QString::fromStdString(TimeText(ms, true, true, 1, tempo)), "1234");
        QCOMPARE(ms, 1234.0);
        QVERIFY(!ReadTimeText("2:468", tempo).has_value());
        QCOMPARE(ReadTimeText("300", tempo).value_or(-1), 300.0);
        QCOMPARE(BeatsToMs(2, tempo), 0.0);
    }
}

void EditorTextsTest::handlesAndHitTests() {
    const CurveFrame frame = CurveDrawingArea(208, 150);
    QCOMPARE(frame.Left, 4);
    QCOMPARE(frame.Right, 204);
    QCOMPARE(frame.Height(), 142);
    const CurvePoints points{1000, 200, 0, 50, 1};
    const CurveHandles h = HandlePositions(frame, points, 1100, 100);
    QCOMPARE(h.StartX, 4);
    QCOMPARE(h.EndX, 104);
    QCOMPARE(h.StartY, 16); // trunc(146 - 129.09)
    QCOMPARE(h.EndY, 120);  // trunc(146 - 25.8)
    // Handles within five pixels on both axes; the end handle wins when both are hit.
    const CurveHandles close{50, 50, 53, 52};
    const struct {
        int X, Y;
        CurveDragMode Mode;
    } presses[] = {
        {50, 50, MoveEndPoint},   {45, 50, MoveStartPoint}, {44, 50, BendCurve},
        {46, 55, MoveStartPoint}, {51, 51, MoveEndPoint},   {58, 52, MoveEndPoint},
        {59, 52, BendCurve},      {47, 57, BendCurve},      {120, 20, BendCurve},
    };
    for (const auto& p : presses) {
        QCOMPARE(DragModeAt(p.X, p.Y, close), p.Mode);
    }
    // Columns follow the rendered curve and never exceed the drawing height.
    const CurvePoints parabola{0, 1, 0, 100, 2};
    QCOMPARE(CurveBarHeight(50, 100, parabola, 1, 100), 25);
    QCOMPARE(CurveBarHeight(100, 100, parabola, 0.5, 100), 100);
    QVERIFY(RangesUsable(1, 1));
    QVERIFY(!RangesUsable(0, 1));
    QVERIFY(!RangesUsable(1, 0));
    QVERIFY(!RangesUsable(NaN, 1));
    QCOMPARE(TruncPixel(NaN), 0);
    QCOMPARE(TruncPixel(1e300), 4000000);
    QCOMPARE(TruncPixel(-2.7), -2);
}

void EditorTextsTest::bendingTheCurve() {
    // Start 0, end 1, handles at x 0 and 100, a client 100 high with range 1.
    const CurveHandles h{0, 100, 100, 0};
    const CurveScale rising{1, 0, true};
    const auto shape = BendShape(50, 75, 100, h, rising, 1);
    QVERIFY(shape.has_value());
    QCOMPARE(*shape, 2.0); // ln 0.25 / ln 0.5
    // Falling curves measure from the top value.
    const CurveScale falling{1, 0, false};
    QCOMPARE(BendShape(50, 25, 100, h, falling, 1).value_or(0), 2.0);
    // Outside the handles in time or the values in height, or a flat envelope: nothing.
    const struct {
        int X, Y;
        CurveScale Scale;
    } idle[] = {{0, 75, rising},   {-5, 75, rising},  {100, 75, rising},
                {120, 75, rising}, {50, 0, rising},   {50, -20, rising},
                {50, 100, rising}, {50, 130, rising}, {50, 50, CurveScale{0.5, 0.5, false}}};
    for (const auto& c : idle) {
        QVERIFY(!BendShape(c.X, c.Y, 100, h, c.Scale, 1).has_value());
    }
    QVERIFY(!BendShape(50, 75, 0, h, rising, 1).has_value());
}

void EditorTextsTest::draggingAPointWaitsForTheThreshold() {
    int pressY = 50;
    QVERIFY(!DraggedValue(60, pressY, 100, 2, 10).has_value());
    QCOMPARE(pressY, 50);
    QCOMPARE(DraggedValue(61, pressY, 100, 2, 10).value_or(-1), 0.78);
    QCOMPARE(pressY, -10);
    // From now on every move is measured from -10: near the top edge nothing follows.
    QVERIFY(!DraggedValue(0, pressY, 100, 2, 10).has_value());
    QCOMPARE(DraggedValue(1, pressY, 100, 2, 10).value_or(-1), 1.98);
    // Above the top edge the value goes beyond the range; below the bottom it stays at 0.
    QCOMPARE(DraggedValue(-50, pressY, 100, 2, 10).value_or(-1), 3.0);
    QCOMPARE(DraggedValue(150, pressY, 100, 2, 10).value_or(-1), 0.0);
    int pressX = 40;
    QVERIFY(!DraggedTime(31, pressX, 200, 100, 10).has_value());
    QCOMPARE(DraggedTime(29, pressX, 200, 100, 10).value_or(-1), 14.5);
    QCOMPARE(DraggedTime(-30, pressX, 200, 100, 10).value_or(-1), 0.0);
    QVERIFY(!DraggedTime(29, pressX, 0, 100, 10).has_value());
}

void EditorTextsTest::rescaleOnlyGrows() {
    CurveScale scale;
    double valueRange = 0;
    double timeRange = 0;
    Rescale(1.1, {1000, 200, 0, 50, 1}, scale, valueRange, timeRange);
    QCOMPARE(valueRange, 1100.0);
    QCOMPARE(timeRange, 55.0);
    QVERIFY(!scale.Rising);
    Rescale(1.1, {100, 300, 0, 20, 1}, scale, valueRange, timeRange);
    QCOMPARE(valueRange, 1100.0);
    QCOMPARE(timeRange, 55.0);
    QVERIFY(scale.Rising);
    QCOMPARE(scale.MaxValue, 300.0);
    QCOMPARE(scale.MinValue, 100.0);
    Rescale(1.1, {0, 0, 0, 0, 1}, scale, valueRange, timeRange);
    QCOMPARE(valueRange, 1100.0);
}

void EditorTextsTest::previewRowsAndDragShape() {
    // +1 at the bottom, -1 at the top.
    QCOMPARE(PreviewRow(1.0, 80), 80);
    QCOMPARE(PreviewRow(-1.0, 80), 0);
    QCOMPARE(PreviewRow(0.0, 80), 40);
    QCOMPARE(PreviewRow(NaN, 80), 40);
    // Lower half of the left half, upper half of the right half: the shaped sine goes
    // through the pointer.
    const auto left = PreviewDragShape(25, 75, 200, 100);
    QVERIFY(left.has_value());
    QVERIFY(std::fabs(*left - std::log(0.5) / std::log(std::sin(25 / 200.0 * 6.283185308))) <
            1e-12);
    QVERIFY(PreviewDragShape(160, 20, 200, 100).has_value());
    const struct {
        int X, Y;
    } idle[] = {{25, 50}, {0, 75}, {50, 75}, {150, 75}, {25, 20}, {150, 80}, {25, 100}};
    for (const auto& c : idle) {
        QVERIFY2(!PreviewDragShape(c.X, c.Y, 200, 100).has_value(),
                 qPrintable(QStringLiteral("%1,%2").arg(c.X).arg(c.Y)));
    }
    QVERIFY(!PreviewDragShape(25, 75, 0, 100).has_value());
}

QTEST_APPLESS_MAIN(EditorTextsTest)
#include "editor_texts_test.moc"
