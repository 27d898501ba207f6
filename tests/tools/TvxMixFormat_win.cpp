// "tvxctl mixformat": the default render device's mix format, in which the overlap engine's
// stream plays, so tests know how to read what the sound capture recorded.
#include <windows.h>
#include <audioclient.h>
#include <mmdeviceapi.h>
#include <wrl/client.h>

#include <cstdio>

#include "audio/ComScope_win.h"
#include "audio/PlainFormatTag_win.h"
#include "tests/tools/TvxCommands.h"

using Microsoft::WRL::ComPtr;

int CmdMixFormat(int argc, char**) {
    if (argc != 0) return TvxUsage;
    const ComApartment apartment;
    ComPtr<IMMDeviceEnumerator> enumerator;
    if (!apartment || FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                              IID_PPV_ARGS(&enumerator)))) {
        fprintf(stderr, "tvxctl: no device enumerator\n");
        return TvxFailed;
    }
    ComPtr<IMMDevice> device;
    ComPtr<IAudioClient> client;
    WAVEFORMATEX* received = nullptr;
    if (FAILED(enumerator->GetDefaultAudioEndpoint(eRender, eConsole, &device)) ||
        FAILED(device->Activate(__uuidof(IAudioClient), CLSCTX_ALL, nullptr,
                                reinterpret_cast<void**>(client.GetAddressOf()))) ||
        FAILED(client->GetMixFormat(&received)) || !received) {
        fprintf(stderr, "tvxctl: no sound device\n");
        return TvxMissing;
    }
    const CoTaskMemPtr<WAVEFORMATEX> format(received);
    const WORD tag = PlainFormatTag(*format);
    const char* kind = tag == WAVE_FORMAT_IEEE_FLOAT ? "float"
                       : tag == WAVE_FORMAT_PCM      ? "pcm"
                                                     : "other";
    printf("%s %u %lu %u\n", kind, unsigned(format->nChannels),
           static_cast<unsigned long>(format->nSamplesPerSec), unsigned(format->wBitsPerSample));
    return TvxOk;
}
