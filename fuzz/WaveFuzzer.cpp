// A WAV image of any bytes through the loader, every filter and the volume step. The first two
// input bytes choose the filter number and the volume; the rest is the file.
#include "audio/WavePlayer.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

// Filters and volume never change the image's length or anything before the samples.
void CheckHeadersKept(const WavePlayer::Wave& wave, const std::vector<uint8_t>& image) {
    if (wave.PlayImageSize() != image.size()) __builtin_trap();
    if (!std::equal(image.begin(), image.begin() + wave.DataOffset(), wave.PlayImageData())) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int filter = int(data[0] % 8) - 1;  // -1 .. 6: every filter and unknown numbers
    const unsigned volume = data[1];          // above 100 the volume step is off
    const std::vector<uint8_t> image(data + 2, data + size);
    try {
        WavePlayer::Wave wave(image);
        const bool valid = wave.IsValid();
        if (wave.ApplyFilterAndVolume(volume, filter) != valid) __builtin_trap();
        if (!valid) return 0;
        if (wave.DataOffset() > image.size()) __builtin_trap();
        CheckHeadersKept(wave, image);
        for (bool applied : {wave.ApplyEcho(), wave.ApplyInversion(), wave.ApplyNegate(),
                             wave.ApplyRepeat(), wave.ApplyVolume(volume)}) {
            if (!applied) __builtin_trap();
        }
        CheckHeadersKept(wave, image);
    } catch (const WaveHeaderError&) {
        // A too-short chunk after an 18-byte format chunk ends the request without sound.
    }
    return 0;
}
