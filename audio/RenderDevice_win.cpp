#include "audio/RenderDevice_win.h"

#include "audio/ComScope_win.h"
#include "audio/Pcm16Output.h"
#include "audio/PlainFormatTag_win.h"

#include <algorithm>

using Microsoft::WRL::ComPtr;

namespace {

enum class SampleKind { Float32, Pcm16, Other };

// The mix format comes from the system: trusted only once its fields agree with each other.
SampleKind KindOf(const WAVEFORMATEX& format) {
    if (format.nChannels == 0 || format.nSamplesPerSec == 0 ||
        format.nBlockAlign != format.nChannels * (format.wBitsPerSample / 8)) {
        return SampleKind::Other;
    }
    const WORD tag = PlainFormatTag(format);
    if (tag == WAVE_FORMAT_IEEE_FLOAT && format.wBitsPerSample == 32) return SampleKind::Float32;
    if (tag == WAVE_FORMAT_PCM && format.wBitsPerSample == 16) return SampleKind::Pcm16;
    return SampleKind::Other;
}

// The engine's own small period where the system offers one (IAudioClient3); else the
// device's minimum period, which is all an older system or Wine gives.
bool InitializeAtSmallestPeriod(IAudioClient* client, const WAVEFORMATEX& format) {
    const DWORD flags = AUDCLNT_STREAMFLAGS_EVENTCALLBACK;
    ComPtr<IAudioClient3> client3;
    if (SUCCEEDED(client->QueryInterface(IID_PPV_ARGS(&client3)))) {
        UINT32 defaultPeriod = 0, fundamental = 0, minimum = 0, maximum = 0;
        if (SUCCEEDED(client3->GetSharedModeEnginePeriod(&format, &defaultPeriod, &fundamental,
                                                         &minimum, &maximum)) &&
            SUCCEEDED(client3->InitializeSharedAudioStream(flags, minimum, &format, nullptr))) {
            return true;
        }
    }
    REFERENCE_TIME defaultPeriod = 0, minimumPeriod = 0;
    if (FAILED(client->GetDevicePeriod(&defaultPeriod, &minimumPeriod))) minimumPeriod = 0;
    return SUCCEEDED(client->Initialize(AUDCLNT_SHAREMODE_SHARED, flags, minimumPeriod, 0,
                                        &format, nullptr));
}

}  // namespace

std::unique_ptr<RenderDevice> RenderDevice::OpenDefault(IMMDeviceEnumerator* enumerator,
                                                        HANDLE bufferEvent) {
    ComPtr<IMMDevice> device;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device))) return nullptr;
    std::unique_ptr<RenderDevice> opened(new RenderDevice());
    if (FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                reinterpret_cast<void**>(opened->client_.GetAddressOf())))) {
        return nullptr;
    }
    WAVEFORMATEX* received = nullptr;
    if (FAILED(opened->client_->GetMixFormat(&received)) || !received) return nullptr;
    const CoTaskMemPtr<WAVEFORMATEX> mixFormat(received);
    const SampleKind kind = KindOf(*mixFormat);
    if (kind == SampleKind::Other) return nullptr;
    if (!InitializeAtSmallestPeriod(opened->client_.Get(), *mixFormat) ||
        FAILED(opened->client_->SetEventHandle(bufferEvent)) ||
        FAILED(opened->client_->GetBufferSize(&opened->bufferFrames_)) ||
        FAILED(opened->client_->GetService(IID_PPV_ARGS(&opened->render_)))) {
        return nullptr;
    }
    opened->format_ = {mixFormat->nSamplesPerSec, mixFormat->nChannels};
    opened->pcm16_ = kind == SampleKind::Pcm16;
    if (opened->pcm16_) {
        opened->pcm16Mix_.resize(size_t(opened->bufferFrames_) * mixFormat->nChannels);
    }
    return opened;
}

RenderDevice::~RenderDevice() {
    if (started_) client_->Stop();
}

HRESULT RenderDevice::Fill(Mixer& mixer) {
    UINT32 padding = 0;
    HRESULT result = client_->GetCurrentPadding(&padding);
    if (FAILED(result)) return result;
    const UINT32 frames = bufferFrames_ - std::min(padding, bufferFrames_);
    if (frames == 0) return S_OK;
    BYTE* buffer = nullptr;
    result = render_->GetBuffer(frames, &buffer);
    if (FAILED(result)) return result;
    if (!pcm16_) {
        mixer.Render(reinterpret_cast<float*>(buffer), frames, format_);
    } else {
        mixer.Render(pcm16Mix_.data(), frames, format_);
        FloatToPcm16(pcm16Mix_.data(), size_t(frames) * format_.channels,
                     reinterpret_cast<int16_t*>(buffer));
    }
    return render_->ReleaseBuffer(frames, 0);
}

HRESULT RenderDevice::Start() {
    const HRESULT result = client_->Start();
    started_ = SUCCEEDED(result);
    return result;
}

HRESULT RenderDevice::Stop() {
    started_ = false;
    const HRESULT result = client_->Stop();
    if (FAILED(result)) return result;
    return client_->Reset();
}
