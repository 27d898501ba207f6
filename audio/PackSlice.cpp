#include "audio/PackSlice.h"

#include "audio/Pcm16Output.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

constexpr size_t kWavHeaderBytes = 44;

bool Fail(PackSliceFailure& failure, PackSliceError code, std::string detail) {
    failure.code = code;
    failure.detail = std::move(detail);
    return false;
}

std::string Describe(int64_t startMs, int64_t lengthMs, const DecodedAudio& sound) {
    const uint64_t soundMs = sound.sampleRate == 0 ? 0 : sound.Frames() * 1000ull / sound.sampleRate;
    return "slice at " + std::to_string(startMs) + " ms for " + std::to_string(lengthMs) +
           " ms of a sound of " + std::to_string(soundMs) + " ms";
}

void Put16(uint8_t*& at, uint16_t value) {
    *at++ = uint8_t(value);
    *at++ = uint8_t(value >> 8);
}
void Put32(uint8_t*& at, uint32_t value) {
    Put16(at, uint16_t(value));
    Put16(at, uint16_t(value >> 16));
}
void PutId(uint8_t*& at, const char* id) {
    std::memcpy(at, id, 4);
    at += 4;
}

// Frames [first, end) of the sound as RIFF, a 16-byte fmt chunk and the data chunk, in the
// order and at the offsets the loader expects; fade-in and fade-out over the frames given.
void WriteWav(const DecodedAudio& sound, size_t first, size_t end, size_t fadeIn, size_t fadeOut,
              std::vector<uint8_t>& wav) {
    const uint16_t blockAlign = uint16_t(sound.channels * 2);
    const uint32_t dataBytes = uint32_t((end - first) * blockAlign);
    wav.assign(kWavHeaderBytes + dataBytes, 0);
    uint8_t* at = wav.data();
    PutId(at, "RIFF");
    Put32(at, uint32_t(wav.size() - 8));
    PutId(at, "WAVE");
    PutId(at, "fmt ");
    Put32(at, 16);
    Put16(at, 1);
    Put16(at, sound.channels);
    Put32(at, sound.sampleRate);
    Put32(at, sound.sampleRate * blockAlign);
    Put16(at, blockAlign);
    Put16(at, 16);
    PutId(at, "data");
    Put32(at, dataBytes);
    const size_t frames = end - first;
    for (size_t frame = 0; frame < frames; ++frame) {
        // The first and last frames of a fade are silent, so the cut lands on zero.
        float gain = 1.0f;
        if (frame < fadeIn) gain = float(frame) / float(fadeIn);
        const size_t fromEnd = frames - 1 - frame;
        if (fromEnd < fadeOut) gain = std::min(gain, float(fromEnd) / float(fadeOut));
        for (unsigned channel = 0; channel < sound.channels; ++channel) {
            const float sample = sound.samples[(first + frame) * sound.channels + channel];
            Put16(at, uint16_t(FloatToPcm16(sample * gain)));
        }
    }
}

bool Playable(const DecodedAudio& sound) {
    return sound.channels >= 1 && sound.channels <= 2 && sound.sampleRate > 0 && sound.Frames() > 0;
}

}  // namespace

bool SliceToWav(const DecodedAudio& sound, int64_t startMs, int64_t lengthMs,
                std::vector<uint8_t>& wav, PackSliceFailure& failure) {
    if (startMs < 0 || lengthMs < 0) {
        return Fail(failure, PackSliceError::Negative, Describe(startMs, lengthMs, sound));
    }
    if (lengthMs == 0 || !Playable(sound)) {
        return Fail(failure, PackSliceError::Empty, Describe(startMs, lengthMs, sound));
    }
    if (lengthMs > kMaxWavSliceMs) {
        return Fail(failure, PackSliceError::TooLong, Describe(startMs, lengthMs, sound));
    }
    const uint64_t frames = sound.Frames();
    const uint64_t rate = sound.sampleRate;
    // Compared in milliseconds first, so that a huge start cannot overflow the product below.
    if (uint64_t(startMs) > frames * 1000 / rate + 1 || uint64_t(startMs) * rate / 1000 >= frames) {
        return Fail(failure, PackSliceError::PastEnd, Describe(startMs, lengthMs, sound));
    }
    const uint64_t first = uint64_t(startMs) * rate / 1000;
    const uint64_t end = std::min(frames, first + std::max<uint64_t>(1, uint64_t(lengthMs) * rate / 1000));
    const uint64_t fade = std::min<uint64_t>(
        std::max<uint64_t>(1, rate * kPackSliceFadeMicroseconds / 1000000), (end - first) / 2);
    WriteWav(sound, size_t(first), size_t(end), first > 0 ? size_t(fade) : 0,
             end < frames ? size_t(fade) : 0, wav);
    return true;
}

bool WholeToWav(const DecodedAudio& sound, std::vector<uint8_t>& wav, PackSliceFailure& failure) {
    if (!Playable(sound)) return Fail(failure, PackSliceError::Empty, Describe(0, 0, sound));
    WriteWav(sound, 0, sound.Frames(), 0, 0, wav);
    return true;
}
