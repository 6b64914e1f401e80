#include "platform/audio_player.h"

// Placeholder until the ALSA player lands: nothing is played.
namespace kettrik {

struct AudioPlayer::Worker {
    std::string Path;
};

AudioPlayer::AudioPlayer() : worker_(std::make_unique<Worker>()) {}
AudioPlayer::~AudioPlayer() = default;
bool AudioPlayer::Play(const std::string& path) {
    worker_->Path = path;
    return false;
}
void AudioPlayer::Stop() {
    worker_->Path.clear();
}
std::string AudioPlayer::CurrentPath() const {
    return worker_->Path;
}
bool AudioPlayer::IsPlaying() const {
    return false;
}
bool AudioPlayer::WaitUntilIdle(int) const {
    return true;
}

} // namespace kettrik
