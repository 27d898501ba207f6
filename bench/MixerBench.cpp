// The overlap engine's two costs: converting a key's sound on the main thread, between key and
// sound, and mixing one device period of many voices on the render thread.
#include "audio/MixTestSound.h"
#include "audio/Mixer.h"
#include "audio/SoundConverter.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

const MixFormat kStream{48000, 2};

// A 150 ms click at the file's rate, mono or stereo, to the 48 kHz stereo stream.
void ConvertSound(benchmark::State& state) {
    const auto rate = uint32_t(state.range(0));
    const auto channels = uint16_t(state.range(1));
    const size_t frames = rate * 150 / 1000;
    const MixTestSound sound =
        MakePcm16Sound(Sine(1000, rate, frames * channels, 0.5), channels, rate);
    SoundConverter converter;
    for (auto _ : state) {
        benchmark::DoNotOptimize(converter.Convert(sound.Samples(), kStream));
    }
}
BENCHMARK(ConvertSound)->Args({44100, 1})->Args({44100, 2})->Args({48000, 2})->Args({22050, 1})
    ->Unit(benchmark::kMicrosecond);

// One 10 ms period with this many voices playing: they start again whenever they end.
void RenderPeriod(benchmark::State& state) {
    const auto voices = int(state.range(0));
    const uint32_t period = 480;
    const MixTestSound sound = MakePcm16Sound(Sine(1000, 48000, 48000 * 2 * 5, 0.9), 2, 48000);
    Mixer mixer;
    std::vector<float> out(period * kStream.channels);
    for (auto _ : state) {
        if (!mixer.Busy()) {
            state.PauseTiming();
            for (int i = 0; i < voices; ++i) mixer.Play(sound.Samples(), kStream);
            state.ResumeTiming();
        }
        mixer.Render(out.data(), period, kStream);
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(RenderPeriod)->Arg(1)->Arg(16)->Arg(32)->Unit(benchmark::kMicrosecond);

}  // namespace
