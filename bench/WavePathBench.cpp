// The whole per-key sound path short of the platform call: read the file from disk, parse it,
// copy it, filter it and scale it to volume 50, for clicks of typical and larger sizes.
#include "audio/WavePlayer.h"
#include "tests/TestWav.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kFileSizes[] = {2 * 1024, 4 * 1024, 20 * 1024, 200 * 1024};
constexpr unsigned kVolume = 50;

fs::path BenchFolder() {
    return fs::temp_directory_path() / ("tapvox-bench-" + std::to_string(getpid()));
}

fs::path ClickPath(int fileSize) { return BenchFolder() / (std::to_string(fileSize) + ".wav"); }

// 16-bit mono 22,050 Hz noise of the given total file size (a 44-byte header included).
void WriteClick(int fileSize) {
    std::vector<uint8_t> samples(size_t(fileSize) - 44);
    uint32_t state = 12345;
    for (uint8_t& byte : samples) {
        state = state * 1664525u + 1013904223u;
        byte = uint8_t(state >> 24);
    }
    const std::vector<uint8_t> image = MakeTestWav(TestWavFormat{}, samples);
    std::ofstream(ClickPath(fileSize), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));
}

void KeyPressSound(benchmark::State& state) {
    const int fileSize = int(state.range(0));
    const int filter = int(state.range(1));
    const std::string path = ClickPath(fileSize).string();
    for (auto _ : state) {
        WavePlayer::Wave wave(path.c_str());
        if (!wave.ApplyFilterAndVolume(kVolume, filter)) {
            state.SkipWithError("the generated click did not load");
            break;
        }
        benchmark::DoNotOptimize(wave.PlayImageData());
    }
    state.SetBytesProcessed(state.iterations() * fileSize);
    state.SetComplexityN(fileSize);
}

void RegisterKeyPressBenchmarks() {
    const char* const filterNames[] = {"none", "echo", "inversion", "negate", "repeat"};
    for (int filter = FilterNone; filter <= FilterRepeat; ++filter) {
        auto* family = benchmark::RegisterBenchmark(
            ("KeyPressSound/" + std::string(filterNames[filter])).c_str(), KeyPressSound);
        for (int fileSize : kFileSizes) family->Args({fileSize, filter});
        family->ArgNames({"bytes", "filter"})->Complexity(benchmark::oN);
    }
}

}  // namespace

int main(int argc, char** argv) {
    fs::create_directories(BenchFolder());
    for (int fileSize : kFileSizes) WriteClick(fileSize);
    RegisterKeyPressBenchmarks();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    fs::remove_all(BenchFolder());
    return 0;
}
