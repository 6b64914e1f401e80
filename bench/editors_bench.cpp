// Timings of the parameter editors, run on the offscreen platform: one paint of the envelope
// graph, one drag step (the four boxes rewritten and the graph repainted) and one paint of the
// wave preview of a WAV file.
#include <memory>

#include <QApplication>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "editors/curve_display.h"
#include "editors/envelope_page.h"
#include "editors/wave_preview.h"
#include "editors/waveform_page.h"
#include "model/sound.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

using namespace kettrik;

namespace {

struct EnvelopeSetup {
    EnvelopeSetup()
        : Settings(Folder.filePath(QStringLiteral("settings.ini")).toStdString()),
          Table(std::make_unique<Sound>()) {
        NewSound(*Table);
        Oscillator& o = Table->Oscillators[0];
        o.StartF = 450;
        o.EndF = 60;
        o.CurveShape0 = 0.3;
        Page = std::make_unique<CEnvelopePage>(Settings, Table->Oscillators);
        Page->BindEnvelope(o.StartF, o.EndF, o.StartT, o.EndT, o.CurveShape0, o.FMModBy, o.FMModFac,
                           o, Range);
        Page->show();
        QApplication::processEvents();
        Page->CurveDisplay()->repaint();
    }
    QTemporaryDir Folder;
    SettingsStore Settings;
    std::unique_ptr<Sound> Table;
    std::unique_ptr<CEnvelopePage> Page;
    double Range = 0.0;
};

void CurveDisplayPaint(benchmark::State& state) {
    EnvelopeSetup setup;
    CCurveDisplay* display = setup.Page->CurveDisplay();
    for (auto _ : state) {
        display->repaint();
    }
}
BENCHMARK(CurveDisplayPaint)->Unit(benchmark::kMillisecond);

void CurveDisplayDragStep(benchmark::State& state) {
    EnvelopeSetup setup;
    CCurveDisplay* display = setup.Page->CurveDisplay();
    const CurveHandles h = display->Handles();
    const QPoint start = display->contentsRect().topLeft() + QPoint(h.EndX, h.EndY);
    QMouseEvent press(QEvent::MouseButtonPress, start, display->mapToGlobal(start), Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(display, &press);
    int step = 0;
    for (auto _ : state) {
        const QPoint to = start + QPoint(-40 + step % 30, -40 - step % 30);
        QMouseEvent move(QEvent::MouseMove, to, display->mapToGlobal(to), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(display, &move);
        display->repaint();
        ++step;
    }
}
BENCHMARK(CurveDisplayDragStep)->Unit(benchmark::kMillisecond);

void WavePreviewPaint(benchmark::State& state) {
    QTemporaryDir folder;
    SettingsStore settings(folder.filePath(QStringLiteral("settings.ini")).toStdString());
    AudioPlayer player;
    CWaveformPage page(settings, player);
    Oscillator oscillator{};
    NewOscillator(oscillator);
    SetText(oscillator.WavFile, EXAMPLES_DIR "/samples/knock.wav");
    oscillator.WaveForm = WavFileWave;
    page.BindWaveform(oscillator);
    page.show();
    QApplication::processEvents();
    for (auto _ : state) {
        page.Preview()->repaint();
    }
    if (oscillator.WaveForm != WavFileWave) {
        state.SkipWithError("the WAV file did not open");
    }
}
BENCHMARK(WavePreviewPaint)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
