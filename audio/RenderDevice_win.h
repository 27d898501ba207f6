#pragma once
// The default render device's stream for the overlap engine: shared mode, event driven, at the
// smallest period the device offers, in the device's own mix format (32-bit float, or 16-bit
// PCM converted from the mixer's float here). Render thread only: it opens, fills and closes it.

#include "audio/Mixer.h"

#include <windows.h>
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <memory>
#include <vector>

class RenderDevice {
public:
    // The stream on the default render device, stopped, signalling bufferEvent whenever it
    // wants samples; null when there is no device or it cannot be opened in a format we write.
    static std::unique_ptr<RenderDevice> OpenDefault(IMMDeviceEnumerator* enumerator,
                                                     HANDLE bufferEvent);

    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;
    ~RenderDevice();

    const MixFormat& Format() const { return format_; }
    // The device takes 16-bit PCM; otherwise 32-bit float.
    bool TakesPcm16() const { return pcm16_; }

    // Tops the device's buffer up with the mixer's output. A failure means the device is gone.
    HRESULT Fill(Mixer& mixer);
    HRESULT Start();
    // Stops the stream and drops what it still held.
    HRESULT Stop();

private:
    RenderDevice() = default;

    Microsoft::WRL::ComPtr<IAudioClient> client_;
    Microsoft::WRL::ComPtr<IAudioRenderClient> render_;
    MixFormat format_;
    UINT32 bufferFrames_ = 0;
    bool started_ = false;
    bool pcm16_ = false;
    // The mix before conversion, for a 16-bit device.
    std::vector<float> pcm16Mix_;
};
