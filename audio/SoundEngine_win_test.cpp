// The overlap engine under Wine, heard through the sound capture the test runner sets up
// (TAPVOX_SOUND_CAPTURE, TAPVOX_ALSA_CONFIG): what the mixer renders reaches the device whole,
// a device taken away leaves the engine silent without hanging, and given back it sounds again
// without a restart. The platform call is left alone while the engine is on.
#include "audio/ComScope_win.h"
#include "audio/Mixer.h"
#include "audio/Pcm16Output.h"
#include "audio/RenderDevice_win.h"
#include "audio/SoundEngine_win.h"
#include "audio/WavePlayer.h"
#include "audio/WavePlayer_win.h"

#include "tests/TestWav.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

namespace {

// Bounds that only prove nothing hangs: Wine opens a device within about a second.
constexpr DWORD kHeardWithinMs = 20000;
constexpr DWORD kRetryHeardMs = 1500;

std::string EnvPath(const char* name) {
    const char* value = getenv(name);
    return value ? value : "";
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

// Written beside and renamed over: a new file, which ALSA takes for changed even within the
// same second.
void ReplaceFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    const std::string fresh = path + ".new";
    std::ofstream(fresh, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    ASSERT_TRUE(MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING));
}

// ALSA reads its configuration again only when its top file changed, and the runner's device
// file hangs below that one, beside it in the same folder.
void WriteDeviceConfig(const std::string& path, const std::string& text) {
    ReplaceFile(path, std::vector<uint8_t>(text.begin(), text.end()));
    const std::string top = path.substr(0, path.find_last_of("\\/") + 1) + "alsa.conf";
    const std::vector<uint8_t> topBytes = ReadBytes(top);
    ASSERT_FALSE(topBytes.empty()) << top;
    ReplaceFile(top, topBytes);
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start >= timeoutMs) return false;
        Sleep(20);  // polling the capture file; the condition decides, not the time
    }
    return true;
}

// The default device's stream format and sample type, as the engine opens it.
struct DeviceFormat {
    MixFormat mix;
    bool pcm16 = false;
};
bool DefaultDeviceFormat(DeviceFormat& format) {
    const ComApartment apartment;
    Microsoft::WRL::ComPtr<IMMDeviceEnumerator> enumerator;
    if (!apartment || FAILED(CoCreateInstance(__uuidof(MMDeviceEnumerator), nullptr, CLSCTX_ALL,
                                              IID_PPV_ARGS(&enumerator)))) {
        return false;
    }
    const HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    const std::unique_ptr<RenderDevice> device = RenderDevice::OpenDefault(enumerator.Get(), event);
    if (device) format = {device->Format(), device->TakesPcm16()};
    CloseHandle(event);
    return device != nullptr;
}

// A quiet 100 ms stereo sound at 48 kHz, 16-bit, no sample zero, so its rendering has no
// silent stretch inside and is found in the capture by its bytes.
std::vector<uint8_t> TestSound(unsigned seed) {
    const TestWavFormat format{2, 48000, 16, 4};
    std::vector<uint8_t> bytes;
    uint32_t state = seed * 2654435761u + 1;
    for (int i = 0; i < 4800 * 2; ++i) {
        state = state * 1103515245u + 12345u;
        int16_t sample = int16_t(int(state >> 16) % 6000 + 200);
        if (state & 0x8000) sample = int16_t(-sample);
        bytes.push_back(uint8_t(sample));
        bytes.push_back(uint8_t(sample >> 8));
    }
    return MakePlayableTestWav(format, bytes);
}

WaveSamples SamplesOf(const WavePlayer::Wave& wave) {
    WaveSamples sound;
    sound.formatTag = wave.Format().wFormatTag;
    sound.channels = wave.Format().nChannels;
    sound.sampleRate = wave.Format().nSamplesPerSec;
    sound.blockAlign = wave.Format().nBlockAlign;
    sound.bitsPerSample = wave.Format().wBitsPerSample;
    sound.data = wave.PlayImageData() + wave.DataOffset();
    sound.size = wave.DataEnd() - wave.DataOffset();
    return sound;
}

// The bytes the device receives for the sound alone: a mixer of our own renders it for the
// device's format, and the silence around it is cut off.
std::vector<uint8_t> RenderedBytes(const std::vector<uint8_t>& image, const DeviceFormat& device) {
    const WavePlayer::Wave wave(image);
    Mixer mixer;
    if (!mixer.Play(SamplesOf(wave), device.mix)) return {};
    const uint32_t frames = device.mix.sampleRate / 2;  // the sound lasts a fifth of that
    std::vector<float> mix(size_t(frames) * device.mix.channels);
    mixer.Render(mix.data(), frames, device.mix);
    std::vector<uint8_t> bytes;
    if (device.pcm16) {
        std::vector<int16_t> pcm(mix.size());
        FloatToPcm16(mix.data(), mix.size(), pcm.data());
        const auto* raw = reinterpret_cast<const uint8_t*>(pcm.data());
        bytes.assign(raw, raw + pcm.size() * sizeof(int16_t));
    } else {
        const auto* raw = reinterpret_cast<const uint8_t*>(mix.data());
        bytes.assign(raw, raw + mix.size() * sizeof(float));
    }
    const size_t frameBytes = bytes.size() / frames;
    const auto isSilentFrame = [&](size_t frame) {
        return std::all_of(bytes.begin() + frame * frameBytes,
                           bytes.begin() + (frame + 1) * frameBytes,
                           [](uint8_t b) { return b == 0; });
    };
    size_t first = 0, end = frames;
    while (first < end && isSilentFrame(first)) ++first;
    while (end > first && isSilentFrame(end - 1)) --end;
    return std::vector<uint8_t>(bytes.begin() + first * frameBytes, bytes.begin() + end * frameBytes);
}

size_t TimesHeard(const std::vector<uint8_t>& rendered) {
    const std::vector<uint8_t> captured = ReadBytes(EnvPath("TAPVOX_SOUND_CAPTURE"));
    size_t count = 0;
    for (auto at = captured.begin();
         (at = std::search(at, captured.end(), rendered.begin(), rendered.end())) != captured.end();
         at += rendered.size()) {
        ++count;
    }
    return count;
}

class OverlapEngine : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(EnvPath("TAPVOX_SOUND_CAPTURE").empty()) << "run through winetest.py";
        ASSERT_TRUE(DefaultDeviceFormat(device_)) << "no sound device to start with";
    }
    void TearDown() override { UseOverlapEngine(false); }

    DeviceFormat device_;
};

TEST_F(OverlapEngine, SwitchFollowsEveryRequest) {
    const bool requests[] = {true, true, false, false, true, false};
    for (const bool on : requests) {
        UseOverlapEngine(on);
        EXPECT_EQ(OverlapEngineInUse(), on);
    }
}

TEST_F(OverlapEngine, WhatTheMixerRendersReachesTheDeviceWhole) {
    const std::vector<uint8_t> image = TestSound(1);
    const std::vector<uint8_t> rendered = RenderedBytes(image, device_);
    ASSERT_GT(rendered.size(), 4000u * 4) << "the mixer rendered next to nothing";
    UseOverlapEngine(true);
    WavePlayer::Wave(image).play(100, FilterNone, true);
    EXPECT_TRUE(WaitUntil([&] { return TimesHeard(rendered) == 1; }, kHeardWithinMs));
    EXPECT_EQ(CurrentPlayingWaveImage().data, nullptr) << "the platform call played it too";
}

TEST_F(OverlapEngine, DeviceTakenAwayIsSilentAndGivenBackSoundsWithoutRestart) {
    const std::string config = EnvPath("TAPVOX_ALSA_CONFIG");
    const std::vector<uint8_t> present = ReadBytes(config);
    const std::string withDevice(present.begin(), present.end());
    std::string withoutDevice = withDevice;
    const std::string slave = "slave.pcm \"null\"";
    const size_t at = withoutDevice.find(slave);
    ASSERT_NE(at, std::string::npos) << withDevice;
    withoutDevice.replace(at, slave.size(), "slave.pcm \"no_such_device\"");

    const std::vector<uint8_t> before = TestSound(2);
    const std::vector<uint8_t> after = TestSound(3);
    const std::vector<uint8_t> heardBefore = RenderedBytes(before, device_);
    const std::vector<uint8_t> heardAfter = RenderedBytes(after, device_);
    UseOverlapEngine(true);
    WavePlayer::Wave(before).play(100, FilterNone, true);
    ASSERT_TRUE(WaitUntil([&] { return TimesHeard(heardBefore) == 1; }, kHeardWithinMs));

    // Taken away: the stream opened again finds no device, and a key is refused at once.
    WriteDeviceConfig(config, withoutDevice);
    UseOverlapEngine(false);
    UseOverlapEngine(true);
    EXPECT_TRUE(OverlapEngineInUse());
    const WavePlayer::Wave afterWave(after);
    EXPECT_FALSE(PlayOnOverlapEngine(SamplesOf(afterWave))) << "a stream without a device took it";

    // Given back: some key soon sounds again, in the same process, with nothing left over
    // from the silence.
    WriteDeviceConfig(config, withDevice);
    const bool heard = WaitUntil(
        [&] {
            WavePlayer::Wave(after).play(100, FilterNone, true);
            return WaitUntil([&] { return TimesHeard(heardAfter) > 0; }, kRetryHeardMs);
        },
        kHeardWithinMs);
    EXPECT_TRUE(heard) << "no sound after the device came back";
    EXPECT_EQ(TimesHeard(heardBefore), 1u);
}

}  // namespace
