// The audio side of a pack import: decoding the pack's Ogg Vorbis, and cutting its sound into
// the WAV files of a scheme. Seconds of audio per second of work tell how long a pack of any
// length takes.
#include "audio/PackAudio.h"
#include "audio/PackSlice.h"

#include "embedded/tone_stereo44k.ogg.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

void DecodeOgg(benchmark::State& state) {
    double seconds = 0;
    for (auto _ : state) {
        DecodedAudio sound;
        PackAudioFailure failure;
        DecodePackAudio(ktone_stereo44k_ogg, sizeof ktone_stereo44k_ogg, {}, sound, failure);
        seconds += double(sound.Frames()) / sound.sampleRate;
    }
    state.counters["audio_s_per_s"] = benchmark::Counter(seconds, benchmark::Counter::kIsRate);
}
BENCHMARK(DecodeOgg)->Unit(benchmark::kMicrosecond);

// A hundred 150 ms slices of a minute of 44.1 kHz stereo, each written as its WAV image.
void SliceHundred(benchmark::State& state) {
    const DecodedAudio sound{std::vector<float>(44100 * 60 * 2, 0.25f), 44100, 2};
    std::vector<uint8_t> wav;
    PackSliceFailure failure;
    for (auto _ : state) {
        for (int64_t key = 0; key < 100; ++key) {
            SliceToWav(sound, key * 500, 150, wav, failure);
            benchmark::DoNotOptimize(wav.data());
        }
    }
}
BENCHMARK(SliceHundred)->Unit(benchmark::kMillisecond);

}  // namespace
