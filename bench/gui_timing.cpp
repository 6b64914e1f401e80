// Times what a user waits for in the window: start-up until the window shows, Play of a
// sound that is already rendered, and Play after a change (render and hand-over to the
// player). Run on the offscreen platform in the release build:
//   QT_QPA_PLATFORM=offscreen KETTRIK_AUDIO_DEVICE=null build/release/bench/gui_timing
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include <QApplication>
#include <QTemporaryDir>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "platform/audio_player.h"
#include "platform/settings_store.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// Median and worst of several runs.
void Report(const char* what, std::vector<double> times, double target) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-44s median %8.3f ms  worst %8.3f ms  target < %g ms  %s\n", what, median,
                times.back(), target, median < target ? "ok" : "MISSED");
}

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    QApplication application(argc, argv);
    kettrik::SettingsStore settings(home.filePath(QStringLiteral("settings.ini")).toStdString());
    kettrik::AudioPlayer player;
    const QString example = QStringLiteral(EXAMPLES_DIR "/snare.ktu");
    constexpr int Runs = 15;

    std::vector<double> startUp;
    for (int run = 0; run < Runs; ++run) {
        const Clock::time_point start = Clock::now();
        kettrik::CMainDialog window(settings, player, kettrik::ParseCommandLine({example}));
        window.show();
        QApplication::processEvents();
        startUp.push_back(Milliseconds(start, Clock::now()));
    }

    kettrik::CMainDialog window(settings, player, kettrik::ParseCommandLine({example}));
    window.show();
    QApplication::processEvents();
    window.Play();
    std::vector<double> replay;
    std::vector<double> rerender;
    for (int run = 0; run < Runs; ++run) {
        Clock::time_point start = Clock::now();
        window.Play();
        replay.push_back(Milliseconds(start, Clock::now()));

        window.CurrentSound().Oscillators[0].EndT += run % 2 == 0 ? 1.0 : -1.0;
        start = Clock::now();
        window.Play();
        rerender.push_back(Milliseconds(start, Clock::now()));
    }
    Report("start-up to window shown", startUp, 300);
    Report("Play of an unchanged sound", replay, 5);
    Report("Play after a change (snare: render + play)", rerender, 20);
    return 0;
}
