#include "audio/OggVorbis.h"

#include "audio/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <memory>

// The decoder's own source, built in this file alone; its folder is a system include folder
// of this library, so its warnings are not ours.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb_vorbis.h>
#undef L
#undef C
#undef R

namespace {

constexpr int kChunkFrames = 4096;

struct VorbisCloser {
    void operator()(stb_vorbis* vorbis) const { stb_vorbis_close(vorbis); }
};
using VorbisHolder = std::unique_ptr<stb_vorbis, VorbisCloser>;

}  // namespace

OggVorbisResult DecodeOggVorbis(const uint8_t* data, size_t size, uint32_t maxSeconds,
                                DecodedAudio& sound) {
    if (size > size_t(INT_MAX)) return OggVorbisResult::Failed;
    int error = 0;
    VorbisHolder vorbis(stb_vorbis_open_memory(data, int(size), &error, nullptr));
    if (!vorbis) return OggVorbisResult::Failed;
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis.get());
    if (info.channels < 1 || !IsPlausibleSampleRate(info.sample_rate)) {
        return OggVorbisResult::Failed;
    }
    sound.sampleRate = info.sample_rate;
    sound.channels = uint16_t(std::min(info.channels, 2));
    const size_t maxFrames = size_t(maxSeconds) * sound.sampleRate;
    std::vector<float> chunk(size_t(kChunkFrames) * sound.channels);
    for (;;) {
        const int frames = stb_vorbis_get_samples_float_interleaved(
            vorbis.get(), sound.channels, chunk.data(), int(chunk.size()));
        if (frames <= 0) break;
        if (sound.Frames() + size_t(frames) > maxFrames) return OggVorbisResult::TooLong;
        sound.samples.insert(sound.samples.end(), chunk.begin(),
                             chunk.begin() + size_t(frames) * sound.channels);
    }
    if (sound.samples.empty()) return OggVorbisResult::Failed;
    for (float& sample : sound.samples) {
        sample = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    }
    return OggVorbisResult::Decoded;
}
