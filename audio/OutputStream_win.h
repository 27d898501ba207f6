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

// How long the stream stays started, then stopped, without a sound.
struct IdleTimings {
    // On Windows a stopped stream wakes nobody, and starting it again costs next to nothing.
    // Short, so that a key after a pause finds the stream stopped and its sound, pre-filled,
    // is the first the device plays instead of waiting behind queued silence. Longer than the
    // device's buffer (tens of ms), which still holds the last sound's end when the mixer has
    // finished it; stopping drops what the buffer holds.
    DWORD stopMs = 200;
    // Then it is let go: Wine keeps feeding a stopped stream's device (about 0.4 % of a core),
    // and opening it again costs about a millisecond there.
    DWORD closeMs = 4000;
};

class OutputStream {
public:
    // Starts the render thread and waits (bounded) for its first attempt to open the device,
    // so the first key after the switch already finds the stream's format.
    explicit OutputStream(const IdleTimings& idle = IdleTimings());
    // Stops and joins the render thread, which releases the device.
    ~OutputStream();
    OutputStream(const OutputStream&) = delete;
    OutputStream& operator=(const OutputStream&) = delete;

    // Hands the sound to the mixer and wakes the render thread; never waits for it. False,
    // with nothing queued, while there is no device or when the mixer refuses the sound.
    bool Play(const WaveSamples& sound);

    // Whether the render thread holds a device now: false without one and once let go.
    bool HoldsDevice() const { return shared_->holdsDevice.load(std::memory_order_acquire); }

private:
    // What the render thread shares with the main thread; kept apart so that a thread that
    // does not end in time can keep it.
    struct Shared {
        IdleTimings idle;
        Mixer mixer;
        ScopedKernelHandle stop;          // manual reset: the thread ends
        ScopedKernelHandle wake;          // a sound was handed over
        ScopedKernelHandle deviceChanged; // the default device changed
        ScopedKernelHandle firstAttempt;  // manual reset: the first open was tried
        std::atomic<uint32_t> format{0};  // the open stream's format, packed; 0 without one
        std::atomic<bool> holdsDevice{false};
    };
    // Why the render thread left a device: to open the default one again, to end, or to let
    // it go after a long quiet until the next sound.
    enum class Outcome { Reopen, Stop, Quiet };

    static DWORD WINAPI ThreadMain(void* shared);
    static void Run(Shared& shared);
    static Outcome PlayUntilLost(Shared& shared, RenderDevice& device, HANDLE bufferEvent);
    static Outcome WaitForDevice(Shared& shared);

    std::unique_ptr<Shared> shared_;
    ScopedKernelHandle thread_;
};
