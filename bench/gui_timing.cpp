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
#include <QFileSystemModel>
#include <QListView>
#include <QTemporaryDir>
#include <QThread>

#include "app/command_line.h"
#include "app/main_dialog.h"
#include "integration/kettrik_file_dialog.h"
#include "platform/audio_player.h"
#include "platform/document_types.h"
#include "platform/executable_path.h"
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
    const Clock::time_point processStart = Clock::now();
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", home.filePath(QStringLiteral("config")).toLocal8Bit());
    QApplication application(argc, argv);
    kettrik::SettingsStore settings(home.filePath(QStringLiteral("settings.ini")).toStdString());
    // Start-up would fetch the news: timings are of the program alone, without the network.
    settings.WriteString(kettrik::settings::Kettrik, kettrik::settings::NewsUrl, "");
    kettrik::AudioPlayer player;
    const QString example = QStringLiteral(EXAMPLES_DIR "/snare.ktu");
    constexpr int Runs = 15;

    // The first, cold start: the application object, the file-type registration the program
    // does at every start, and the window until it shows.
    {
        kettrik::RegisterFileType(kettrik::KettrikFileType(kettrik::ExecutablePath(), "timing"));
        kettrik::CMainDialog window(settings, player, kettrik::ParseCommandLine({example}));
        window.show();
        QApplication::processEvents();
        Report("cold start: process to window shown", {Milliseconds(processStart, Clock::now())},
               300);
    }

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
    // Selecting a sound in the file dialog renders it and hands it to the player at once.
    std::vector<double> preview;
    {
        kettrik::CKettrikFileDialog dialog(true, ".KTU", QString(), 0,
                                           kettrik::CKettrikFileDialog::SoundFilter, nullptr,
                                           settings, player);
        dialog.setDirectory(QStringLiteral(EXAMPLES_DIR));
        dialog.show();
        // The dialog reads the folder in the background; wait until it lists the examples.
        auto* list = dialog.findChild<QListView*>(QStringLiteral("listView"));
        auto* model = qobject_cast<QFileSystemModel*>(list->model());
        const QString kick = QStringLiteral(EXAMPLES_DIR "/kick.ktu");
        const QString snare = QStringLiteral(EXAMPLES_DIR "/snare.ktu");
        for (int wait = 0; wait < 200 && !list->visualRect(model->index(snare)).isValid(); ++wait) {
            QApplication::processEvents(QEventLoop::AllEvents, 10);
            QThread::msleep(10);
        }
        for (int run = 0; run < Runs; ++run) {
            player.Stop();
            const Clock::time_point start = Clock::now();
            list->setCurrentIndex(model->index(run % 2 == 0 ? kick : snare));
            preview.push_back(Milliseconds(start, Clock::now()));
            if (player.CurrentPath().empty()) {
                std::printf("the file dialog did not start a preview\n");
                return 1;
            }
        }
    }
    Report("start-up to window shown (warm)", startUp, 300);
    Report("Play of an unchanged sound", replay, 5);
    Report("Play after a change (snare: render + play)", rerender, 20);
    Report("file dialog: select an example, preview starts", preview, 30);
    return 0;
}
