// Any bytes as a sound pack's audio file, then a slice of it written as WAV. The first four
// input bytes choose the slice's start and length in milliseconds; the rest is the file. A
// decoded sound holds finite samples in full scale within the length limit, and each slice is
// a WAV image the loader takes, of the size its frames make.
#include "audio/PackAudio.h"
#include "audio/PackSlice.h"
#include "audio/WavePlayer.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// Stands in for the platform's codec: a short sound whose length follows the input's.
bool FakeMp3(const uint8_t*, size_t size, size_t maxFrames, DecodedAudio& sound) {
    sound.sampleRate = 44100;
    sound.channels = 2;
    sound.samples.assign(std::min(size, maxFrames) * 2, 0.25f);
    return true;
}

void CheckWav(const DecodedAudio& sound, const std::vector<uint8_t>& wav, size_t mostFrames) {
    const size_t block = sound.channels * 2u;
    if (wav.size() < 44 || (wav.size() - 44) % block != 0 || (wav.size() - 44) / block > mostFrames) {
        __builtin_trap();
    }
    WavePlayer::Wave wave(wav);
    if (!wave.IsValid() || wave.DataOffset() != 44 || wave.DataEnd() != wav.size() ||
        wave.Format().nSamplesPerSec != sound.sampleRate || wave.Format().nChannels != sound.channels) {
        __builtin_trap();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4) return 0;
    const int64_t startMs = int64_t(data[0] | data[1] << 8) - 100;
    const int64_t lengthMs = int64_t(data[2] | data[3] << 8) - 100;
    DecodedAudio sound;
    PackAudioFailure failure;
    if (!DecodePackAudio(data + 4, size - 4, FakeMp3, sound, failure)) {
        if (failure.code == PackAudioError::None || !sound.samples.empty()) __builtin_trap();
        return 0;
    }
    if (sound.channels < 1 || sound.channels > 2 || sound.samples.size() % sound.channels != 0 ||
        sound.Frames() > size_t(kMaxPackAudioSeconds) * sound.sampleRate) {
        __builtin_trap();
    }
    for (float sample : sound.samples) {
        if (!std::isfinite(sample) || sample < -1.0f || sample > 1.0f) __builtin_trap();
    }
    std::vector<uint8_t> wav;
    PackSliceFailure sliceFailure;
    if (SliceToWav(sound, startMs, lengthMs, wav, sliceFailure)) {
        CheckWav(sound, wav, sound.Frames());
    } else if (sliceFailure.code == PackSliceError::None) {
        __builtin_trap();
    }
    if (WholeToWav(sound, wav, sliceFailure)) CheckWav(sound, wav, sound.Frames());
    return 0;
}
