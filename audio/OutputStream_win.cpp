#include "audio/OutputStream_win.h"

#include "audio/ComScope_win.h"
#include "audio/DefaultDeviceWatch_win.h"
#include "audio/RenderDevice_win.h"

#include <avrt.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

namespace {

// Without a device, how often to look for one again.
constexpr DWORD kRetryMs = 500;
// A started device that asks for no samples for this long is taken for gone and reopened.
constexpr DWORD kStallMs = 2000;
// How long the switch waits for the first open; opening under Wine can take a second.
constexpr DWORD kFirstOpenWaitMs = 5000;
// How long shutting down waits for the render thread to end.
constexpr DWORD kJoinWaitMs = 5000;

// The stream's format in one word, so the main thread never reads half of an old one.
constexpr uint32_t kChannelBits = 12;
uint32_t PackFormat(const MixFormat& format) {
    if (format.sampleRate >= (1u << (32 - kChannelBits)) ||
        format.channels >= (1u << kChannelBits)) {
        return 0;
    }
    return (format.sampleRate << kChannelBits) | format.channels;
}
MixFormat UnpackFormat(uint32_t packed) {
    return {packed >> kChannelBits, static_cast<uint16_t>(packed & ((1u << kChannelBits) - 1))};
}

// The render thread's scheduling class for audio; where the system has none, a high priority.
class MmcssTask {
public:
    MmcssTask() {
        task_ = AvSetMmThreadCharacteristicsW(L"Pro Audio", &index_);
        if (!task_) task_ = AvSetMmThreadCharacteristicsW(L"Audio", &index_);
        if (!task_) SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    }
    ~MmcssTask() {
        if (task_) AvRevertMmThreadCharacteristics(task_);
    }
    MmcssTask(const MmcssTask&) = delete;
    MmcssTask& operator=(const MmcssTask&) = delete;

private:
    DWORD index_ = 0;
    HANDLE task_ = nullptr;
};

DWORD WaitForAny(std::initializer_list<HANDLE> handles, DWORD timeoutMs) {
    return WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.begin(), FALSE,
                                  timeoutMs);
}

ScopedKernelHandle MakeEvent(bool manualReset) {
    return ScopedKernelHandle(CreateEventW(nullptr, manualReset, FALSE, nullptr));
}

DWORD WINAPI ReleaseDevice(void* device) {
    const ComApartment apartment;
    delete static_cast<RenderDevice*>(device);
    return 0;
}

// Letting a device go can block: a driver may wait on an unplugged device, and under Wine an
// ALSA device that writes into a pipe (the tests' sound capture) waits until every process
// that inherited the pipe has ended; the 64-bit helper, started after the stream opened, holds
// it for its whole life. The render thread must not wait with it, so a short thread of its own
// releases the device; inline only when no thread can be made.
void ReleaseAside(std::unique_ptr<RenderDevice> device) {
    if (!device) return;
    const ScopedKernelHandle releaser(
        CreateThread(nullptr, 0, ReleaseDevice, device.get(), 0, nullptr));
    if (releaser) device.release();
}

}  // namespace

OutputStream::OutputStream(const IdleTimings& idle) : shared_(new Shared) {
    shared_->idle = idle;
    shared_->stop = MakeEvent(true);
    shared_->wake = MakeEvent(false);
    shared_->deviceChanged = MakeEvent(false);
    shared_->firstAttempt = MakeEvent(true);
    if (!shared_->stop || !shared_->wake || !shared_->deviceChanged || !shared_->firstAttempt) {
        return;  // no thread: the engine stays silent
    }
    thread_.Reset(CreateThread(nullptr, 0, ThreadMain, shared_.get(), 0, nullptr));
    if (thread_) WaitForSingleObject(shared_->firstAttempt.Get(), kFirstOpenWaitMs);
}

OutputStream::~OutputStream() {
    if (!thread_) return;
    SetEvent(shared_->stop.Get());
    // A thread stuck in the system past the bound keeps what it uses; the process is ending
    // or the engine is off, and neither may hang on it.
    if (WaitForSingleObject(thread_.Get(), kJoinWaitMs) != WAIT_OBJECT_0) shared_.release();
}

bool OutputStream::Play(const WaveSamples& sound) {
    const uint32_t packed = shared_->format.load(std::memory_order_acquire);
    if (packed == 0) return false;
    const bool queued = shared_->mixer.Play(sound, UnpackFormat(packed));
    if (queued) SetEvent(shared_->wake.Get());
    return queued;
}

DWORD WINAPI OutputStream::ThreadMain(void* shared) {
    Run(*static_cast<Shared*>(shared));
    return 0;
}

void OutputStream::Run(Shared& shared) {
    const ComApartment apartment;
    const MmcssTask mmcss;
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> enumerator;
    const ScopedKernelHandle bufferEvent = MakeEvent(false);
    if (!apartment || !bufferEvent ||
        FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                IID_PPV_ARGS(&enumerator)))) {
        SetEvent(shared.firstAttempt.Get());
        WaitForSingleObject(shared.stop.Get(), INFINITE);
        return;
    }
    const DefaultDeviceWatch watch(enumerator.Get(), shared.deviceChanged.Get());
    for (;;) {
        std::unique_ptr<RenderDevice> device =
            RenderDevice::OpenDefault(enumerator.Get(), bufferEvent.Get());
        shared.format.store(device ? PackFormat(device->Format()) : 0, std::memory_order_release);
        shared.holdsDevice.store(device != nullptr, std::memory_order_release);
        SetEvent(shared.firstAttempt.Get());
        Outcome outcome = device ? PlayUntilLost(shared, *device, bufferEvent.Get())
                                 : WaitForDevice(shared);
        ReleaseAside(std::move(device));
        shared.holdsDevice.store(false, std::memory_order_release);
        if (outcome == Outcome::Quiet) {
            // Let go; the format stays, so sounds queue for the device that opens again.
            outcome = WaitForAny({shared.stop.Get(), shared.deviceChanged.Get(),
                                  shared.wake.Get()},
                                 INFINITE) == WAIT_OBJECT_0
                          ? Outcome::Stop
                          : Outcome::Reopen;
        } else {
            shared.format.store(0, std::memory_order_release);
        }
        if (outcome == Outcome::Stop) return;
    }
}

// The device starts stopped. A sound pre-fills its buffer before it starts, so the first key
// after a pause is not late; after a quiet second it stops again, and after a few more seconds
// it is let go (Quiet; see IdleTimings). Any failure of the device is answered by opening it
// again.
OutputStream::Outcome OutputStream::PlayUntilLost(Shared& shared, RenderDevice& device,
                                                  HANDLE bufferEvent) {
    bool started = false;
    DWORD lastSound = 0;
    for (;;) {
        if (!started) {
            if (!shared.mixer.Busy()) {
                const DWORD woken = WaitForAny(
                    {shared.stop.Get(), shared.deviceChanged.Get(), shared.wake.Get()},
                    shared.idle.closeMs);
                if (woken == WAIT_OBJECT_0) return Outcome::Stop;
                if (woken == WAIT_OBJECT_0 + 1) return Outcome::Reopen;
                if (woken == WAIT_TIMEOUT) return Outcome::Quiet;
                continue;  // a wake left over from while the device ran may have nothing
            }
            if (FAILED(device.Fill(shared.mixer)) || FAILED(device.Start())) {
                return Outcome::Reopen;
            }
            started = true;
            lastSound = GetTickCount();
            continue;
        }
        const DWORD woken =
            WaitForAny({shared.stop.Get(), shared.deviceChanged.Get(), bufferEvent}, kStallMs);
        if (woken == WAIT_OBJECT_0) return Outcome::Stop;
        if (woken != WAIT_OBJECT_0 + 2) return Outcome::Reopen;  // device changed, or stalled
        if (FAILED(device.Fill(shared.mixer))) return Outcome::Reopen;
        const DWORD now = GetTickCount();
        if (shared.mixer.Busy()) {
            lastSound = now;
        } else if (now - lastSound >= shared.idle.stopMs) {
            if (FAILED(device.Stop())) return Outcome::Reopen;
            started = false;
        }
    }
}

// No device: silent, and asking again at a slow pace, or at once when the system names a new
// default device. Sounds queued before the device was found missing would otherwise play,
// stale, whenever one opens again: rendering nothing for no format drops them.
OutputStream::Outcome OutputStream::WaitForDevice(Shared& shared) {
    shared.mixer.Render(nullptr, 0, MixFormat());
    const DWORD woken = WaitForAny({shared.stop.Get(), shared.deviceChanged.Get()}, kRetryMs);
    return woken == WAIT_OBJECT_0 ? Outcome::Stop : Outcome::Reopen;
}
