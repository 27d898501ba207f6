#pragma once
#include <cstdint>
#include <vector>

#include "tools/schemegen/Dsp.h"

namespace schemegen {

struct WavFormat {
    uint32_t sampleRate;
    uint16_t bitsPerSample;  // 8 (unsigned, centred on 128) or 16 (signed little-endian)
    uint16_t channels;
};

constexpr size_t kWavHeaderSize = 44;

// A plain PCM file: RIFF header, a 16-byte "fmt " chunk and the "data" chunk right after it,
// the only layout every player, and our own loader, takes without question.
// Samples are clamped to [-1, 1] and rounded to the nearest step. An 8-bit sound with an
// odd number of bytes gains one silent frame, so the file needs no RIFF pad byte.
// Throws std::invalid_argument for formats other than 8 or 16 bits and 1 or 2 channels.
std::vector<uint8_t> EncodeWav(const Samples& interleaved, const WavFormat& format);

}  // namespace schemegen
