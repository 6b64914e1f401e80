// The waveform page as a user meets it: waveform buttons, a real WAV file chosen through the
// file dialog, the noise boxes and their spin, the slider, and the preview painted and
// dragged with the mouse.
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "editors/wave_preview.h"
#include "editors/waveform_page.h"
#include "engine/render.h"
#include "gui/gui_test_support.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using namespace kettrik;

namespace {

// A 16-bit mono PCM file of one sine period per 100 frames.
QString WriteWav(const QString& path, std::int32_t rate, std::int32_t frames) {
    QByteArray data;
    for (std::int32_t i = 0; i < frames; ++i) {
        const auto sample = static_cast<std::int16_t>(20000 * std::sin(i * 6.283185307 / 100));
        data.append(static_cast<char>(sample & 0xff));
        data.append(static_cast<char>((sample >> 8) & 0xff));
    }
    const auto u32 = [](std::uint32_t v) {
        QByteArray b;
        for (int i = 0; i < 4; ++i) {
            b.append(static_cast<char>((v >> (8 * i)) & 0xff));
        }
        return b;
    };
    const auto u16 = [](std::uint16_t v) {
        QByteArray b;
        b.append(static_cast<char>(v & 0xff));
        b.append(static_cast<char>(v >> 8));
        return b;
    };
    const auto size = static_cast<std::uint32_t>(data.size());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        qFatal("cannot write %s", qPrintable(path));
    }
    file.write("RIFF" + u32(36 + size) + "WAVEfmt " + u32(16) + u16(1) + u16(1) +
               u32(static_cast<std::uint32_t>(rate)) + u32(static_cast<std::uint32_t>(rate) * 2) +
               u16(2) + u16(16) + "data" + u32(size) + data);
    return path;
}

struct PageFixture {
    PageFixture()
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()),
          Page(std::make_unique<CWaveformPage>(Settings, Player)) {
        NewOscillator(Osc);
        Osc.Enabled = On;
        Osc.CurveShape2 = 1;
        Osc.NoiseBW = 0;
        Settings.WriteString(settings::FileDialog, settings::AutoPlay, "0");
        Page->show();
        if (!QTest::qWaitForWindowExposed(Page.get())) {
            qFatal("the page did not show");
        }
        Page->BindWaveform(Osc);
    }
    QPushButton* Button(int id) const { return static_cast<QPushButton*>(Page->Control(id)); }
    QLineEdit* Box(int id) const { return static_cast<QLineEdit*>(Page->Control(id)); }
    bool WavControlsShown() const {
        return Page->Control(1048)->isVisible() && Page->Control(1049)->isVisible() &&
               Page->Control(1041)->isVisible();
    }
    void Type(int id, const QString& text) const {
        QLineEdit* box = Box(id);
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
    QImage Picture() const {
        CWavePreview* preview = Page->Preview();
        return preview->grab(preview->contentsRect()).toImage();
    }

    QTemporaryDir Folder;
    SettingsStore Settings;
    AudioPlayer Player;
    Oscillator Osc{};
    std::unique_ptr<CWaveformPage> Page;
};

// Answers the file dialog that opens next: a path to choose, or an empty one to cancel; then,
// when answer is given, the question that may follow.
void AnswerFileDialog(const QString& path, std::function<void(QMessageBox*)> answer = {}) {
    QTimer::singleShot(0, [path, answer] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (answer) {
            QTimer::singleShot(0, [answer] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(box != nullptr);
                answer(box);
            });
        }
        dialog->selectFile(path);
        static_cast<QDialog*>(dialog)->accept();
    });
}

std::function<void(QMessageBox*)> Press(QMessageBox::StandardButton button) {
    return [button](QMessageBox* box) {
        QCOMPARE(box->windowTitle(), QStringLiteral("Kettrik Orvalene"));
        QCOMPARE(box->text(), QStringLiteral("Set this oscillator to the sampling frequency and "
                                             "length of the WAV file?"));
        box->button(button)->click();
    };
}

} // namespace

class WaveformPageTest : public QObject {
    Q_OBJECT
private slots:
    void cancellingTheFirstChoiceLeavesSine();
    void choosingAFileCanTakeItsRateAndLength();
    void answeringNoKeepsFrequencyAndTimes();
    void wavControlsFollowTheWaveform();
    void unreadableFileFallsBackToSine();
    void tooLongPathIsRefused();
    void noiseBoxesAndSpin();
    void sliderAndShapeBox();
    void previewDrawsThePeriod();
    void previewDragSetsTheShape();
    void screenshots();
};

void WaveformPageTest::cancellingTheFirstChoiceLeavesSine() {
    PageFixture f;
    AnswerFileDialog({});
    QTest::mouseClick(f.Button(1054), Qt::LeftButton);
    QCOMPARE(f.Osc.WaveForm, std::int32_t{Sine});
    QVERIFY(f.Button(1050)->isChecked());
    QVERIFY(!f.WavControlsShown());
}

void WaveformPageTest::choosingAFileCanTakeItsRateAndLength() {
    PageFixture f;
    const QString wav = WriteWav(f.Folder.filePath(QStringLiteral("knock.wav")), 44100, 22050);
    f.Osc.StartT = 100;
    AnswerFileDialog(wav, Press(QMessageBox::Yes));
    QTest::mouseClick(f.Button(1054), Qt::LeftButton);
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
    QCOMPARE(QString::fromLocal8Bit(GetText(f.Osc.WavFile)), wav);
    QCOMPARE(f.Osc.StartF, 44100.0);
    QCOMPARE(f.Osc.EndF, 44100.0);
    QCOMPARE(f.Osc.EndT, 600.0);
    QVERIFY(f.Button(1054)->isChecked());
    QVERIFY(f.WavControlsShown());
    QCOMPARE(f.Box(1049)->text(), wav);
    QCOMPARE(f.Osc.Render.Source.Cache, nullptr); // open only while asking
}

void WaveformPageTest::answeringNoKeepsFrequencyAndTimes() {
    PageFixture f;
    const QString wav = WriteWav(f.Folder.filePath(QStringLiteral("knock.wav")), 44100, 22050);
    AnswerFileDialog(wav, Press(QMessageBox::No));
    QTest::mouseClick(f.Button(1054), Qt::LeftButton);
    QCOMPARE(f.Osc.StartF, 2000.0);
    QCOMPARE(f.Osc.EndT, 200.0);
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
    // Browse again and cancel: the file is kept, and the question comes again.
    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QTimer::singleShot(0, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->button(QMessageBox::No)->click();
        });
        dialog->reject();
    });
    QTest::mouseClick(f.Button(1041), Qt::LeftButton);
    QCOMPARE(QString::fromLocal8Bit(GetText(f.Osc.WavFile)), wav);
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
}

void WaveformPageTest::wavControlsFollowTheWaveform() {
    PageFixture f;
    const QString wav = WriteWav(f.Folder.filePath(QStringLiteral("loop.wav")), 22050, 500);
    SetText(f.Osc.WavFile, wav.toStdString());
    f.Osc.WaveForm = WavFileWave;
    f.Page->BindWaveform(f.Osc);
    QVERIFY(f.WavControlsShown());
    const struct {
        int Button;
        std::int32_t Form;
    } buttons[] = {{1052, Square}, {1051, Sawtooth}, {1053, Triangle}, {1050, Sine}};
    for (const auto& b : buttons) {
        QTest::mouseClick(f.Button(b.Button), Qt::LeftButton);
        QCOMPARE(f.Osc.WaveForm, b.Form);
        QVERIFY(!f.WavControlsShown());
    }
    // The file is still there: no dialog, the WAV waveform and its controls come back.
    QTest::mouseClick(f.Button(1054), Qt::LeftButton);
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
    QVERIFY(f.WavControlsShown());
    QTest::mouseClick(static_cast<QCheckBox*>(f.Page->Control(1048)), Qt::LeftButton);
    QCOMPARE(f.Osc.LoopWav, 1);
}

void WaveformPageTest::unreadableFileFallsBackToSine() {
    PageFixture f;
    const QString bogus = f.Folder.filePath(QStringLiteral("not-a.wav"));
    QFile file(bogus);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("this is no wave file at all, just text of some length............");
    file.close();
    AnswerFileDialog(bogus);
    QTest::mouseClick(f.Button(1054), Qt::LeftButton);
    QCOMPARE(GetText(f.Osc.WavFile).size(), std::size_t{0});
    QCOMPARE(f.Osc.WaveForm, std::int32_t{Sine});
    QVERIFY(f.Button(1050)->isChecked());
    // A file that went missing after it was chosen: the picture quietly draws a sine.
    SetText(f.Osc.WavFile, f.Folder.filePath(QStringLiteral("gone.wav")).toStdString());
    f.Osc.WaveForm = WavFileWave;
    f.Page->BindWaveform(f.Osc);
    f.Page->Preview()->repaint();
    QCOMPARE(f.Osc.WaveForm, std::int32_t{Sine});
    QVERIFY(f.Button(1054)->isChecked());
}

void WaveformPageTest::tooLongPathIsRefused() {
    PageFixture f;
    const QString before = WriteWav(f.Folder.filePath(QStringLiteral("short.wav")), 8000, 800);
    SetText(f.Osc.WavFile, before.toStdString());
    f.Osc.WaveForm = WavFileWave;
    f.Page->BindWaveform(f.Osc);
    QString folder = f.Folder.path();
    while (folder.size() < 260) {
        folder += QStringLiteral("/a-folder-with-a-long-name");
    }
    QVERIFY(QDir().mkpath(folder));
    const QString wav = WriteWav(folder + "/deep.wav", 8000, 800);
    QString warning;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        QVERIFY(dialog != nullptr);
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            warning = box->text();
            box->accept();
            // Then the question about the file that is still set.
            QTimer::singleShot(0, [] {
                auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                QVERIFY(question != nullptr);
                question->button(QMessageBox::No)->click();
            });
        });
        dialog->selectFile(wav);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(f.Button(1041), Qt::LeftButton);
    QVERIFY2(warning.contains(QStringLiteral("longer than 255")), qPrintable(warning));
    QCOMPARE(QString::fromLocal8Bit(GetText(f.Osc.WavFile)), before);
}

void WaveformPageTest::noiseBoxesAndSpin() {
    PageFixture f;
    const struct {
        const char* Text;
        std::int32_t Rate;
    } types[] = {{"2.7", 2}, {"-1.5", -1}, {"abc", 0}, {"7", 7}, {"1e12", 2147483647}};
    for (const auto& t : types) {
        f.Type(1055, QString::fromLatin1(t.Text));
        QCOMPARE(f.Osc.NoiseChangeRate, t.Rate);
    }
    f.Type(1046, QStringLiteral("0.25"));
    QCOMPARE(f.Osc.NoiseBW, 0.25);
    // The spin's up arrow counts down, never below 0; the down arrow counts up.
    const QList<QToolButton*> arrows = f.Page->Control(1044)->findChildren<QToolButton*>();
    QCOMPARE(arrows.size(), 2);
    f.Type(1055, QStringLiteral("2"));
    QTest::mouseClick(arrows[0], Qt::LeftButton);
    QCOMPARE(f.Osc.NoiseChangeRate, 1);
    QTest::mouseClick(arrows[0], Qt::LeftButton);
    QTest::mouseClick(arrows[0], Qt::LeftButton);
    QCOMPARE(f.Osc.NoiseChangeRate, 0);
    QCOMPARE(f.Box(1055)->text(), QStringLiteral("0"));
    QTest::mouseClick(arrows[1], Qt::LeftButton);
    QCOMPARE(f.Osc.NoiseChangeRate, 1);
    // Binding writes the stored values with their six-digit texts.
    f.Osc.NoiseBW = 0.123456789;
    f.Page->BindWaveform(f.Osc);
    QCOMPARE(f.Box(1046)->text(), QStringLiteral("0.123457"));
    QCOMPARE(f.Osc.NoiseBW, 0.123457);
}

void WaveformPageTest::sliderAndShapeBox() {
    PageFixture f;
    f.Page->ShapeSlider()->setFocus();
    QTest::keyClick(f.Page->ShapeSlider(), Qt::Key_Home);
    QCOMPARE(f.Osc.CurveShape2, 0.01);
    QCOMPARE(f.Page->ShapeBox()->text(), QStringLiteral("0.01"));
    f.Type(1026, QStringLiteral("2"));
    QCOMPARE(f.Osc.CurveShape2, 2.0);
    QCOMPARE(f.Page->ShapeSlider()->value(), 15);
}

void WaveformPageTest::previewDrawsThePeriod() {
    PageFixture f;
    const QImage clean = f.Picture();
    const int w = clean.width() - 10;
    const int h = clean.height() - 10;
    // A clean sine: at a quarter period the wave is at +1, drawn at the bottom row.
    const QColor wave(0, 128, 240);
    const auto drawnNear = [&](const QImage& image, int x, int y) {
        for (int dy = -2; dy <= 2; ++dy) {
            if (y + dy >= 0 && y + dy < image.height() && image.pixelColor(x, y + dy) == wave) {
                return true;
            }
        }
        return false;
    };
    const int quarter = 5 + w / 4;
    QVERIFY(drawnNear(clean, quarter, 5 + h));
    QCOMPARE(clean.pixelColor(quarter, 5 + h / 2), QColor(Qt::white));
    QVERIFY(drawnNear(clean, 5 + 3 * w / 4, 5));
    QCOMPARE(clean.pixelColor(2, 2), QColor(Qt::white)); // the frame
    QCOMPARE(f.Picture(), clean);                        // without noise, always the same
    f.Osc.NoiseBW = 0.5;
    QVERIFY(f.Picture() != clean);
    QCOMPARE(f.Osc.Render.Phase, 0.0);
    // A WAV file: the whole file across the width, read and closed again.
    const QString wav = WriteWav(f.Folder.filePath(QStringLiteral("knock.wav")), 44100, 400);
    SetText(f.Osc.WavFile, wav.toStdString());
    f.Osc.WaveForm = WavFileWave;
    f.Osc.NoiseBW = 0;
    const QImage file = f.Picture();
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
    QCOMPARE(f.Osc.Render.Source.Cache, nullptr);
    // Four periods of the file's sine: the first peak (at +20000/32768) at 1/16 of the width.
    QVERIFY(drawnNear(file, 5 + w / 16, 5 + static_cast<int>((20000.0 / 32768 + 1) * h * 0.5)));
}

void WaveformPageTest::previewDragSetsTheShape() {
    PageFixture f;
    CWavePreview* preview = f.Page->Preview();
    const QRect client = preview->contentsRect();
    const int w = client.width();
    const int h = client.height();
    const auto drag = [&](int x, int y) {
        const QPoint at = client.topLeft() + QPoint(x, y);
        QTest::mousePress(preview, Qt::LeftButton, {}, at);
        QMouseEvent move(QEvent::MouseMove, at, preview->mapToGlobal(at), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(preview, &move);
        QTest::mouseRelease(preview, Qt::LeftButton, {}, at);
    };
    drag(w / 8, 3 * h / 4);
    const double b = (static_cast<double>(3 * h / 4) / h - 0.5) * 2;
    const double c = std::sin(static_cast<double>(w / 8) / w * 6.283185308);
    const double expected = std::log(b) / std::log(c);
    QCOMPARE(f.Page->ShapeBox()->text(), QString::number(expected, 'g', 3));
    QCOMPARE(f.Osc.CurveShape2, QString::number(expected, 'g', 3).toDouble());
    QCOMPARE(f.Page->ShapeSlider()->value(),
             static_cast<int>(std::trunc(std::log10(f.Osc.CurveShape2) * 50)));
    // The upper half of the right half works too.
    const auto shapeAt = [&](int x, int y) {
        double bb = (static_cast<double>(y) / h - 0.5) * 2;
        double cc = std::sin(static_cast<double>(x) / w * 6.283185308);
        bb = -bb;
        cc = -cc;
        return QString::number(std::log(bb) / std::log(cc), 'g', 3).toDouble();
    };
    drag(5 * w / 8, h / 5);
    QCOMPARE(f.Osc.CurveShape2, shapeAt(5 * w / 8, h / 5));
    // The left edge, the wrong halves and the centre row change nothing.
    const double shape = f.Osc.CurveShape2;
    QList<QPoint> idle = {QPoint(0, 3 * h / 4), QPoint(w / 8, h / 4), QPoint(5 * w / 8, 3 * h / 4)};
    if (h % 2 == 0) {
        idle << QPoint(w / 8, h / 2);
    }
    for (const QPoint& p : idle) {
        drag(p.x(), p.y());
        QVERIFY2(f.Osc.CurveShape2 == shape,
                 qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }
}

void WaveformPageTest::screenshots() {
    PageFixture f;
    f.Osc.NoiseBW = 0.1;
    f.Page->BindWaveform(f.Osc);
    test::SaveScreenshot(f.Page.get(), QStringLiteral("waveform-sine-noise"));
    f.Osc.NoiseBW = 0;
    f.Osc.WaveForm = Square;
    f.Osc.CurveShape2 = 5;
    f.Page->BindWaveform(f.Osc);
    test::SaveScreenshot(f.Page.get(), QStringLiteral("waveform-square-narrow"));
    const QString wav = QStringLiteral(EXAMPLES_DIR "/samples/knock.wav");
    SetText(f.Osc.WavFile, wav.toStdString());
    f.Osc.WaveForm = WavFileWave;
    f.Osc.CurveShape2 = 1;
    f.Page->BindWaveform(f.Osc);
    test::SaveScreenshot(f.Page.get(), QStringLiteral("waveform-wav-file"));
    QCOMPARE(f.Osc.WaveForm, std::int32_t{WavFileWave});
}

int main(int argc, char** argv) {
    test::PrivateHome home;
    QApplication application(argc, argv);
    SetNoiseRandomState(1);
    WaveformPageTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "waveform_page_test.moc"
