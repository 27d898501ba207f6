// Sample bytes of any format through the mixer: conversion, rate conversion, a voice and the
// limiter. The first 13 input bytes are the format fields and the stream's; the rest are the
// samples. Whatever comes in, what comes out is a number within full scale.
#include "audio/Mixer.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr size_t kHeaderBytes = 13;
constexpr uint32_t kStreamRates[] = {44100, 48000, 22050, 96000};
constexpr uint32_t kPeriod = 512;
constexpr int kMostPeriods = 64;

uint16_t ReadU16(const uint8_t* at) { return uint16_t(at[0] | at[1] << 8); }
uint32_t ReadU32(const uint8_t* at) {
    return uint32_t(ReadU16(at)) | uint32_t(ReadU16(at + 2)) << 16;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < kHeaderBytes) return 0;
    WaveSamples sound;
    sound.formatTag = ReadU16(data);
    sound.channels = ReadU16(data + 2);
    sound.sampleRate = ReadU32(data + 4);
    sound.blockAlign = ReadU16(data + 8);
    sound.bitsPerSample = ReadU16(data + 10);
    const MixFormat stream{kStreamRates[data[12] % 4], uint16_t(data[12] / 4 % 8)};
    const std::vector<uint8_t> samples(data + kHeaderBytes, data + size);
    sound.data = samples.data();
    sound.size = samples.size();

    Mixer mixer;
    if (!mixer.Play(sound, stream)) return 0;
    std::vector<float> out(size_t(kPeriod) * stream.channels);
    for (int period = 0; period < kMostPeriods && mixer.Busy(); ++period) {
        mixer.Render(out.data(), kPeriod, stream);
        for (float sample : out) {
            if (!(std::fabs(sample) <= 1.0f)) __builtin_trap();
        }
    }
    return 0;
}
