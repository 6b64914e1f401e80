#include "platform/audio_player.h"

#include <alsa/asoundlib.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/pcm_output.h"
#include "platform/wav_clip.h"

namespace kettrik {

namespace {

// Frames per write: about 10 ms at 44.1 kHz, so Stop and a new Play take effect quickly.
constexpr std::size_t ChunkFrames = 441;
constexpr int WriteWaitMs = 20;
// A device left idle this long is closed, so the desktop's sound server is not held open
// by a program that is only being edited in.
constexpr auto IdleClose = std::chrono::seconds(3);

// alsa-lib prints its own diagnostics on stderr (several lines per failed open); the player
// reports one line of its own instead.
void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

std::string DeviceName() {
    const char* name = std::getenv("KETTRIK_AUDIO_DEVICE");
    return name != nullptr && *name != '\0' ? name : "default";
}

} // namespace

struct AudioPlayer::Worker {
    std::string Device;
    mutable std::mutex Mutex;
    std::condition_variable Wake;         // the worker waits here for orders
    mutable std::condition_variable Idle; // WaitUntilIdle waits here
    // Guarded by Mutex.
    std::shared_ptr<const WavClip> Pending;
    bool Playing = false;
    bool Quit = false;
    std::string Path;
    // Every Play and Stop moves it on; the worker compares it between chunks to learn that
    // its sound was replaced or stopped without taking the lock.
    std::atomic<std::uint64_t> Generation{0};
    std::thread Thread;

    void Run();
    void PlayClip(PcmOutput& output, const WavClip& clip, std::uint64_t generation);
    bool Superseded(std::uint64_t generation) const {
        return Generation.load(std::memory_order_acquire) != generation;
    }
};

void AudioPlayer::Worker::Run() {
    PcmOutput output;
    std::unique_lock lock(Mutex);
    for (;;) {
        const auto ordered = [this] { return Quit || Pending != nullptr; };
        if (!Wake.wait_for(lock, IdleClose, ordered)) {
            lock.unlock();
            output.Close();
            lock.lock();
            Wake.wait(lock, ordered);
        }
        if (Quit) {
            return;
        }
        const std::shared_ptr<const WavClip> clip = std::move(Pending);
        Pending.reset();
        const std::uint64_t generation = Generation.load(std::memory_order_relaxed);
        lock.unlock();
        PlayClip(output, *clip, generation);
        lock.lock();
        if (!Superseded(generation)) {
            Playing = false;
            Idle.notify_all();
        }
    }
}

void AudioPlayer::Worker::PlayClip(PcmOutput& output, const WavClip& clip,
                                   std::uint64_t generation) {
    if (!output.IsOpenFor(clip.Format)) {
        std::string reason;
        if (!output.Open(Device, clip.Format, reason)) {
            std::fprintf(stderr, "kettrik: cannot open audio device \"%s\": %s\n", Device.c_str(),
                         reason.c_str());
            return;
        }
    } else if (!output.Prepare()) {
        output.Close();
        std::fprintf(stderr, "kettrik: audio device \"%s\" stopped working\n", Device.c_str());
        return;
    }
    std::size_t done = 0;
    while (done < clip.Frames) {
        if (Superseded(generation)) {
            output.Drop();
            return;
        }
        const std::size_t count = std::min(ChunkFrames, clip.Frames - done);
        const long written = output.Write(clip.FrameData(done), count, WriteWaitMs);
        if (written < 0) {
            std::fprintf(stderr, "kettrik: playback on \"%s\" failed: %s\n", Device.c_str(),
                         snd_strerror(static_cast<int>(written)));
            output.Close();
            return;
        }
        done += static_cast<std::size_t>(written);
    }
    if (Superseded(generation)) {
        output.Drop();
        return;
    }
    output.Drain();
}

AudioPlayer::AudioPlayer() : worker_(std::make_unique<Worker>()) {
    static std::once_flag quietAlsa;
    std::call_once(quietAlsa, [] { snd_lib_error_set_handler(IgnoreAlsaError); });
    worker_->Device = DeviceName();
    worker_->Thread = std::thread([worker = worker_.get()] { worker->Run(); });
}

AudioPlayer::~AudioPlayer() {
    {
        std::lock_guard lock(worker_->Mutex);
        worker_->Quit = true;
        worker_->Generation.fetch_add(1, std::memory_order_acq_rel);
    }
    worker_->Wake.notify_all();
    worker_->Thread.join();
}

bool AudioPlayer::Play(const std::string& wavPath) {
    // Read here, on the caller's thread, so the file may be replaced as soon as we return.
    std::string reason;
    auto clip = ReadWavClip(wavPath, reason);
    if (!clip) {
        std::fprintf(stderr, "kettrik: cannot play \"%s\": %s\n", wavPath.c_str(), reason.c_str());
        Stop();
        return false;
    }
    {
        std::lock_guard lock(worker_->Mutex);
        worker_->Pending = std::make_shared<const WavClip>(std::move(*clip));
        worker_->Playing = true;
        worker_->Path = wavPath;
        worker_->Generation.fetch_add(1, std::memory_order_acq_rel);
    }
    worker_->Wake.notify_all();
    return true;
}

void AudioPlayer::Stop() {
    {
        std::lock_guard lock(worker_->Mutex);
        worker_->Pending.reset();
        worker_->Playing = false;
        worker_->Path.clear();
        worker_->Generation.fetch_add(1, std::memory_order_acq_rel);
    }
    worker_->Wake.notify_all();
    worker_->Idle.notify_all();
}

bool AudioPlayer::IsPlaying() const {
    std::lock_guard lock(worker_->Mutex);
    return worker_->Playing;
}

std::string AudioPlayer::CurrentPath() const {
    std::lock_guard lock(worker_->Mutex);
    return worker_->Path;
}

bool AudioPlayer::WaitUntilIdle(int timeoutMs) const {
    std::unique_lock lock(worker_->Mutex);
    return worker_->Idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                  [this] { return !worker_->Playing; });
}

} // namespace kettrik
