#pragma once
// Sample bytes and their WaveSamples description, for the mixer's tests and benchmark.

#include "audio/Mixer.h"

#include <cmath>
#include <cstdint>
#include <vector>

struct MixTestSound {
    WaveSamples header;
    std::vector<uint8_t> bytes;

    WaveSamples Samples() const {
        WaveSamples samples = header;
        samples.data = bytes.data();
        samples.size = bytes.size();
        return samples;
    }
};

// 16-bit PCM from values in [-1, 1], frame after frame.
inline MixTestSound MakePcm16Sound(const std::vector<double>& values, uint16_t channels,
                                   uint32_t rate) {
    MixTestSound sound;
    sound.header = {1, channels, rate, uint16_t(2 * channels), 16, nullptr, 0};
    for (double value : values) {
        const auto sample = int16_t(std::lround(value * 32767.0));
        sound.bytes.push_back(uint8_t(sample));
        sound.bytes.push_back(uint8_t(uint16_t(sample) >> 8));
    }
    return sound;
}

// A mono 16-bit sound that holds `level` for `frames` frames.
inline MixTestSound MakeConstantSound(double level, size_t frames, uint32_t rate) {
    return MakePcm16Sound(std::vector<double>(frames, level), 1, rate);
}

inline std::vector<double> Sine(double hertz, uint32_t rate, size_t frames, double amplitude) {
    const double pi = 3.14159265358979323846;
    std::vector<double> values(frames);
    for (size_t n = 0; n < frames; ++n) values[n] = amplitude * std::sin(2 * pi * hertz * n / rate);
    return values;
}
