// One open ALSA playback device, used by the player's worker thread only. Writes never block
// for longer than the wait they are given, so the caller can look for new orders between
// chunks.
#pragma once

#include <cstddef>
#include <string>

#include "platform/wav_clip.h"

struct _snd_pcm;

namespace kettrik {

class PcmOutput {
public:
    PcmOutput() = default;
    ~PcmOutput();
    PcmOutput(const PcmOutput&) = delete;
    PcmOutput& operator=(const PcmOutput&) = delete;

    // Opens the named device for this format (closing any device open before) with
    // software resampling and about 100 ms of buffer. False with ALSA's reason.
    bool Open(const std::string& device, const PcmFormat& format, std::string& reason);
    bool IsOpenFor(const PcmFormat& format) const;
    void Close();

    // Makes a device that was stopped or drained ready for new frames.
    bool Prepare();
    // Sends up to `frames` frames, waiting at most waitMs for room. Returns the frames
    // taken (0 when there was no room in time), or a negative ALSA error the device did not
    // recover from.
    long Write(const unsigned char* data, std::size_t frames, int waitMs);
    // Discards what the device still holds.
    void Drop();
    // Lets the device play out what it holds, then stops it.
    void Drain();

private:
    _snd_pcm* pcm_ = nullptr;
    PcmFormat format_;
};

} // namespace kettrik
