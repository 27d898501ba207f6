// Times how long Tapvox's main window takes to handle one key event: sends "NEW_HOOK_SYSTEM"
// key events with SendMessage, which returns once the event is handled, and prints percentiles.
//
//   HookEventBench [COUNT [EVENT [GAP_MS]]]
// Defaults: 1000 events of 0x4141 (key A, character 'A'), sent back to back; GAP_MS is an
// untimed pause before each event, as between a typist's key presses.
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "tests/tools/TapvoxNames.h"
#include "tests/tools/ToolArgs.h"

namespace {

constexpr uint64_t kDefaultCount = 1000;
constexpr uint64_t kMaxCount = 1000000;
constexpr uint64_t kDefaultEvent = 0x4141;
constexpr uint64_t kMaxGapMs = 10000;
constexpr UINT kSendTimeoutMs = 5000;

// The value below which the given share of the sorted times lies (nearest rank).
double Percentile(const std::vector<double>& sorted, double share) {
    size_t rank = static_cast<size_t>(std::ceil(share * static_cast<double>(sorted.size())));
    rank = std::min(std::max<size_t>(rank, 1), sorted.size());
    return sorted[rank - 1];
}

}  // namespace

int main(int argc, char** argv) {
    uint64_t count = kDefaultCount;
    uint64_t event = kDefaultEvent;
    uint64_t gapMs = 0;
    if (argc > 4 || (argc >= 2 && !ParseUnsignedArg(argv[1], kMaxCount, &count)) || count == 0 ||
        (argc >= 3 && !ParseUnsignedArg(argv[2], 0xFFFFFFFF, &event)) ||
        (argc == 4 && !ParseUnsignedArg(argv[3], kMaxGapMs, &gapMs))) {
        fprintf(stderr, "usage: HookEventBench [COUNT [EVENT [GAP_MS]]]\n");
        return 2;
    }
    HWND window = FindWindowA(kTapvoxMainWindowClass, nullptr);
    const UINT hookMessage = RegisterWindowMessageA(kTapvoxHookMessageName);
    if (!window || !hookMessage) {
        fprintf(stderr, "HookEventBench: no %s window\n", kTapvoxMainWindowClass);
        return 3;
    }

    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> micros;
    micros.reserve(static_cast<size_t>(count));
    for (uint64_t i = 0; i < count; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        DWORD_PTR result = 0;
        if (gapMs > 0) Sleep(static_cast<DWORD>(gapMs));
        QueryPerformanceCounter(&start);
        const LRESULT answered = SendMessageTimeoutA(window, hookMessage,
                                                     static_cast<WPARAM>(event), 0,
                                                     SMTO_ABORTIFHUNG, kSendTimeoutMs, &result);
        QueryPerformanceCounter(&end);
        if (!answered) {
            fprintf(stderr, "HookEventBench: event %llu not answered (error %lu)\n",
                    static_cast<unsigned long long>(i), GetLastError());
            return 1;
        }
        micros.push_back(static_cast<double>(end.QuadPart - start.QuadPart) * 1e6 /
                         static_cast<double>(frequency.QuadPart));
    }
    std::sort(micros.begin(), micros.end());
    printf("events %llu event 0x%llx gap %llu ms: p50 %.1f us p99 %.1f us max %.1f us\n",
           static_cast<unsigned long long>(count), static_cast<unsigned long long>(event),
           static_cast<unsigned long long>(gapMs),
           Percentile(micros, 0.50), Percentile(micros, 0.99), micros.back());
    return 0;
}
