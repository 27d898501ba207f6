#pragma once
// Builds WAV file images for the tests and the benchmarks.

#include <cstdint>
#include <string>
#include <vector>

struct TestWavFormat {
    uint16_t channels = 1;
    uint32_t samplesPerSec = 22050;
    uint16_t bitsPerSample = 16;
    uint16_t blockAlign = 2;
};

class TestWavBuilder {
public:
    TestWavBuilder& Bytes(const std::string& text) {
        image_.insert(image_.end(), text.begin(), text.end());
        return *this;
    }
    TestWavBuilder& Bytes(const std::vector<uint8_t>& bytes) {
        image_.insert(image_.end(), bytes.begin(), bytes.end());
        return *this;
    }
    TestWavBuilder& U16(uint16_t value) {
        return Bytes(std::vector<uint8_t>{uint8_t(value), uint8_t(value >> 8)});
    }
    TestWavBuilder& U32(uint32_t value) { return U16(uint16_t(value)).U16(uint16_t(value >> 16)); }

    // RIFF header and a format chunk of formatSize bytes (16 fields, then zero padding).
    TestWavBuilder& Header(const TestWavFormat& format, uint32_t formatSize = 16) {
        Bytes("RIFF").U32(0).Bytes("WAVE").Bytes("fmt ").U32(formatSize);
        U16(1).U16(format.channels).U32(format.samplesPerSec);
        U32(format.samplesPerSec * format.blockAlign).U16(format.blockAlign);
        U16(format.bitsPerSample);
        return Bytes(std::vector<uint8_t>(formatSize > 16 ? formatSize - 16 : 0, 0));
    }
    TestWavBuilder& Chunk(const std::string& id, const std::vector<uint8_t>& payload) {
        return Bytes(id).U32(uint32_t(payload.size())).Bytes(payload);
    }
    std::vector<uint8_t> Image() const { return image_; }

private:
    std::vector<uint8_t> image_;
};

// A plain 44-byte-header file holding the given sample bytes.
inline std::vector<uint8_t> MakeTestWav(const TestWavFormat& format,
                                        const std::vector<uint8_t>& samples) {
    return TestWavBuilder().Header(format).Chunk("data", samples).Image();
}

// A complete file, with its RIFF size filled in, which the platform needs to play it.
inline std::vector<uint8_t> MakePlayableTestWav(const TestWavFormat& format,
                                                const std::vector<uint8_t>& samples) {
    std::vector<uint8_t> image = MakeTestWav(format, samples);
    const auto riffSize = static_cast<uint32_t>(image.size() - 8);
    for (int i = 0; i < 4; ++i) image[4 + i] = uint8_t(riffSize >> (8 * i));
    return image;
}

// Pseudo-random sample bytes, so no filter or volume leaves them alone by accident.
inline std::vector<uint8_t> TestSamples(size_t count, unsigned seed) {
    std::vector<uint8_t> samples(count);
    for (uint8_t& sample : samples) {
        seed = seed * 1103515245u + 12345u;
        sample = uint8_t(seed >> 16);
    }
    return samples;
}
