// A WAV image of any bytes through the loader, every filter and the volume step. The first two
// input bytes choose the filter number and the volume; the rest is the file.
#include "audio/WavePlayer.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

using Wave = WavePlayer::Wave;

constexpr uint64_t kFormatChunkOffset = 12;  // just after "RIFF", its size and "WAVE"
constexpr uint64_t kChunkHeaderSize = 8;
constexpr uint64_t kNotFound = UINT64_MAX;

uint32_t ReadU32(const uint8_t* at) {
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

// The header offset of the first chunk with this id from `at` on, read as the platform reads
// a RIFF file when it plays it: chunk after chunk, each odd size followed by a pad byte.
uint64_t FindChunk(const uint8_t* image, size_t size, uint64_t at, const char* id) {
    while (at + kChunkHeaderSize <= size) {
        if (std::memcmp(image + at, id, 4) == 0) return at;
        const uint32_t chunkSize = ReadU32(image + at + 4);
        at += kChunkHeaderSize + chunkSize + (chunkSize & 1);
    }
    return kNotFound;
}

// Filters and volume change nothing but the samples, so the image keeps its length and every
// header, pad byte and other chunk; and the platform, walking the played image, finds the
// data chunk where the loader found it whenever it finds the format chunk where the loader
// read it. The samples it then reads by the chunk's size lie inside the image.
void CheckOnlySamplesChanged(const Wave& wave, const std::vector<uint8_t>& image) {
    if (wave.DataOffset() > wave.DataEnd() || wave.DataEnd() > image.size() ||
        wave.PlayImageSize() != image.size()) {
        __builtin_trap();
    }
    const uint8_t* played = wave.PlayImageData();
    if (uint64_t(wave.DataOffset()) + ReadU32(played + wave.DataOffset() - 4) > image.size()) {
        __builtin_trap();
    }
    if (!std::equal(image.begin(), image.begin() + wave.DataOffset(), played) ||
        !std::equal(image.begin() + wave.DataEnd(), image.end(), played + wave.DataEnd())) {
        __builtin_trap();
    }
    if (FindChunk(played, image.size(), kFormatChunkOffset, "fmt ") != kFormatChunkOffset) return;
    const uint64_t afterFormat = kFormatChunkOffset + kChunkHeaderSize + wave.Format().chunk.size;
    if (FindChunk(played, image.size(), afterFormat, "data") + kChunkHeaderSize !=
        wave.DataOffset()) {
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
        Wave wave(image);
        const bool valid = wave.IsValid();
        if (wave.ApplyFilterAndVolume(volume, filter) != valid) __builtin_trap();
        if (!valid) return 0;
        CheckOnlySamplesChanged(wave, image);
        for (bool (Wave::*apply)() : {&Wave::ApplyEcho, &Wave::ApplyInversion, &Wave::ApplyNegate,
                                      &Wave::ApplyRepeat}) {
            if (!(wave.*apply)() || !wave.ApplyVolume(volume)) __builtin_trap();
            CheckOnlySamplesChanged(wave, image);
        }
    } catch (const WaveHeaderError&) {
        // A too-short chunk after an 18-byte format chunk ends the request without sound.
    }
    return 0;
}
