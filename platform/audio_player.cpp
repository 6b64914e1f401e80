#include "platform/audio_player.h"

// Placeholder until the ALSA player lands: nothing is played.
namespace kettrik {

struct AudioPlayer::Worker {};

AudioPlayer::AudioPlayer() = default;
AudioPlayer::~AudioPlayer() = default;
bool AudioPlayer::Play(const std::string&) { return false; }
void AudioPlayer::Stop() {}
bool AudioPlayer::IsPlaying() const { return false; }
bool AudioPlayer::WaitUntilIdle(int) const { return true; }

} // namespace kettrik
