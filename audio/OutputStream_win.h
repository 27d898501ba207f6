#pragma once
// The overlap engine's one output stream: a render thread of its own that opens the default
// render device, keeps it fed from the mixer while sounds play, stops it when they have been
// quiet for a while, and opens it again when the default device changes or goes away.
// Everything else is main-thread only.

#include "app/WinHandles.h"
#include "audio/Mixer.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>

class RenderDevice;

class OutputStream {
public:
    // Starts the render thread and waits (bounded) for its first attempt to open the device,
    // so the first key after the switch already finds the stream's format.
    OutputStream();
    // Stops and joins the render thread, which releases the device.
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // Hands the sound to the mixer and wakes the render thread; never waits for it. False,
    // with nothing queued, while there is no device or when the mixer refuses the sound.
    bool Play(const WaveSamples& sound);

private:
    // What the render thread shares with the main thread; kept apart so that a thread that
    // does not end in time can keep it.
    struct Shared {
        Mixer mixer;
        ScopedKernelHandle stop;          // manual reset: the thread ends
        ScopedKernelHandle wake;          // a sound was handed over
        ScopedKernelHandle deviceChanged; // the default device changed
        ScopedKernelHandle firstAttempt;  // manual reset: the first open was tried
        std::atomic<uint32_t> format{0};  // the open stream's format, packed; 0 without one
    };
    enum class Outcome { Reopen, Stop };

    static DWORD WINAPI ThreadMain(void* shared);
    static void Run(Shared& shared);
    static Outcome PlayUntilLost(Shared& shared, RenderDevice& device, HANDLE bufferEvent);
    static Outcome WaitForDevice(Shared& shared);

    std::unique_ptr<Shared> shared_;
    ScopedKernelHandle thread_;
};
