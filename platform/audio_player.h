// Asynchronous playback of WAV files, as a desktop program's "play this sound" service:
// Play returns at once, a new Play replaces the sound that is playing, Stop silences it.
// The file is read into memory when Play is called, so it may be deleted or rewritten
// right after; a worker thread feeds the ALSA device. The device is "default", or the one
// named by the environment variable KETTRIK_AUDIO_DEVICE.
//
// Without a usable device, or for a file that is not a playable WAV, playback fails
// silently apart from one line on stderr; nothing else is affected.
//
// Threading: Play and Stop are called from one thread (the user interface); they never wait
// for the device.
#pragma once

#include <memory>
#include <string>

namespace kettrik {

class AudioPlayer {
public:
    AudioPlayer();
    ~AudioPlayer(); // stops playback and joins the worker
    AudioPlayer(const AudioPlayer&) = delete;
    AudioPlayer& operator=(const AudioPlayer&) = delete;

    // False when the file could not be read as a WAV file (nothing plays then).
    bool Play(const std::string& wavPath);
    void Stop();
    // True while a sound is being sent to the device.
    bool IsPlaying() const;
    // The file most recently handed to Play, or empty after Stop or when that Play failed.
    std::string CurrentPath() const;
    // Blocks until the current sound has been handed to the device completely, or the
    // timeout passes (tests).
    bool WaitUntilIdle(int timeoutMs) const;

private:
    struct Worker;
    std::unique_ptr<Worker> worker_;
};

} // namespace kettrik
