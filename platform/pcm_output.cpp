#include "platform/pcm_output.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cerrno>

namespace kettrik {

namespace {

// Short enough that a new sound follows a click at once, long enough for a busy desktop.
constexpr unsigned LatencyMicroseconds = 100'000;

snd_pcm_format_t AlsaFormat(SampleEncoding encoding) {
    switch (encoding) {
    case SampleEncoding::U8:
        return SND_PCM_FORMAT_U8;
    case SampleEncoding::S16:
        return SND_PCM_FORMAT_S16_LE;
    case SampleEncoding::S24Packed:
        return SND_PCM_FORMAT_S24_3LE;
    case SampleEncoding::S32:
        return SND_PCM_FORMAT_S32_LE;
    case SampleEncoding::Float32:
        return SND_PCM_FORMAT_FLOAT_LE;
    case SampleEncoding::Float64:
        return SND_PCM_FORMAT_FLOAT64_LE;
    }
    return SND_PCM_FORMAT_UNKNOWN;
}

} // namespace

PcmOutput::~PcmOutput() {
    Close();
}

bool PcmOutput::Open(const std::string& device, const PcmFormat& format, std::string& reason) {
    Close();
    // Non-blocking, so that a device held by someone else fails instead of hanging here.
    snd_pcm_t* pcm = nullptr;
    int error = snd_pcm_open(&pcm, device.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK);
    if (error < 0) {
        reason = snd_strerror(error);
        return false;
    }
    error = snd_pcm_set_params(pcm, AlsaFormat(format.Encoding), SND_PCM_ACCESS_RW_INTERLEAVED,
                               format.Channels, format.SampleRate, 1, LatencyMicroseconds);
    if (error < 0) {
        reason = snd_strerror(error);
        snd_pcm_close(pcm);
        return false;
    }
    pcm_ = pcm;
    format_ = format;
    return true;
}

bool PcmOutput::IsOpenFor(const PcmFormat& format) const {
    return pcm_ != nullptr && format_ == format;
}

void PcmOutput::Close() {
    if (pcm_ != nullptr) {
        snd_pcm_close(pcm_);
        pcm_ = nullptr;
    }
}

bool PcmOutput::Prepare() {
    if (pcm_ == nullptr) {
        return false;
    }
    const snd_pcm_state_t state = snd_pcm_state(pcm_);
    if (state == SND_PCM_STATE_PREPARED) {
        return true;
    }
    return snd_pcm_prepare(pcm_) >= 0;
}

long PcmOutput::Write(const unsigned char* data, std::size_t frames, int waitMs) {
    if (pcm_ == nullptr) {
        return -EBADFD;
    }
    const auto recover = [this](long error) -> long {
        // Underruns and suspends are ordinary on a loaded desktop: carry on where we were.
        const int recovered = snd_pcm_recover(pcm_, static_cast<int>(error), 1);
        return recovered < 0 ? recovered : 0;
    };
    snd_pcm_sframes_t room = snd_pcm_avail_update(pcm_);
    if (room == 0) {
        const int ready = snd_pcm_wait(pcm_, waitMs);
        if (ready < 0) {
            return recover(ready);
        }
        room = snd_pcm_avail_update(pcm_);
    }
    if (room < 0) {
        return recover(room);
    }
    if (room == 0) {
        return 0;
    }
    const auto count = static_cast<snd_pcm_uframes_t>(
        std::min<std::size_t>(frames, static_cast<std::size_t>(room)));
    const snd_pcm_sframes_t written = snd_pcm_writei(pcm_, data, count);
    if (written == -EAGAIN) {
        return 0;
    }
    if (written < 0) {
        return recover(written);
    }
    return written;
}

void PcmOutput::Drop() {
    if (pcm_ != nullptr) {
        snd_pcm_drop(pcm_);
    }
}

void PcmOutput::Drain() {
    if (pcm_ == nullptr) {
        return;
    }
    // A non-blocking drain only starts draining; the tail is at most one buffer long.
    snd_pcm_nonblock(pcm_, 0);
    snd_pcm_drain(pcm_);
    snd_pcm_nonblock(pcm_, 1);
}

} // namespace kettrik
