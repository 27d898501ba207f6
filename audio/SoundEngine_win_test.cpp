// The overlap engine under Wine, heard through the sound capture the test runner sets up
// (TAPVOX_SOUND_CAPTURE, TAPVOX_ALSA_CONFIG): what the mixer renders reaches the device whole,
// a device taken away leaves the engine silent without hanging, and given back it sounds again
// without a restart. The platform call is left alone while the engine is on.
#include "audio/ComScope_win.h"
#include "audio/Mixer.h"
#include "audio/OutputStream_win.h"
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

// The bytes the device receives for the sound alone: a mixer of our own renders it for the
// device's format, and the silence around it is cut off.
std::vector<uint8_t> RenderedBytes(const std::vector<uint8_t>& image, const DeviceFormat& device) {
    const WavePlayer::Wave wave(image);
    Mixer mixer;
    if (!mixer.Play(wave.Samples(), device.mix)) return {};
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
        const std::vector<uint8_t> config = ReadBytes(EnvPath("TAPVOX_ALSA_CONFIG"));
        withDevice_.assign(config.begin(), config.end());
    }
    void TearDown() override {
        UseOverlapEngine(false);
        SetDevicePresent(true);
    }

    // The runner's device file names the device behind the capture; one that does not exist
    // takes the sound device away.
    void SetDevicePresent(bool present) {
        std::string text = withDevice_;
        if (!present) {
            const std::string slave = "slave.pcm \"null\"";
            const size_t at = text.find(slave);
            ASSERT_NE(at, std::string::npos) << text;
            text.replace(at, slave.size(), "slave.pcm \"no_such_device\"");
        }
        WriteDeviceConfig(EnvPath("TAPVOX_ALSA_CONFIG"), text);
    }

    // Plays the sound again and again until it is heard, as a user presses a key until it
    // sounds; false when it never is.
    static bool PlayUntilHeard(const std::vector<uint8_t>& image,
                               const std::vector<uint8_t>& rendered,
                               const std::function<void(const WaveSamples&)>& play) {
        const WavePlayer::Wave wave(image);
        return WaitUntil(
            [&] {
                play(wave.Samples());
                return WaitUntil([&] { return TimesHeard(rendered) > 0; }, kRetryHeardMs);
            },
            kHeardWithinMs);
    }

    DeviceFormat device_;
    std::string withDevice_;
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

// Short idle times stand in for the pauses of typing: stopped after 200 ms, let go after 50
// more.
TEST_F(OverlapEngine, StreamLetGoAfterAQuietOpensAgainForTheNextSound) {
    OutputStream stream(IdleTimings{200, 50});
    const std::vector<uint8_t> first = TestSound(4);
    const std::vector<uint8_t> second = TestSound(5);
    const std::vector<uint8_t> heardFirst = RenderedBytes(first, device_);
    const std::vector<uint8_t> heardSecond = RenderedBytes(second, device_);
    EXPECT_TRUE(stream.Play(WavePlayer::Wave(first).Samples()));
    ASSERT_TRUE(WaitUntil([&] { return TimesHeard(heardFirst) == 1; }, kHeardWithinMs));
    ASSERT_TRUE(WaitUntil([&] { return !stream.HoldsDevice(); }, kHeardWithinMs))
        << "the stream was never let go";
    EXPECT_TRUE(stream.Play(WavePlayer::Wave(second).Samples())) << "refused while let go";
    EXPECT_TRUE(WaitUntil([&] { return TimesHeard(heardSecond) == 1; }, kHeardWithinMs));
    EXPECT_EQ(TimesHeard(heardFirst), 1u);
}

// The engine switched on again (Settings OK) while there is no device.
TEST_F(OverlapEngine, NoDeviceAtTheSwitchIsSilentAndOneGivenBackSoundsWithoutRestart) {
    const std::vector<uint8_t> before = TestSound(2);
    const std::vector<uint8_t> after = TestSound(3);
    const std::vector<uint8_t> heardBefore = RenderedBytes(before, device_);
    const std::vector<uint8_t> heardAfter = RenderedBytes(after, device_);
    UseOverlapEngine(true);
    WavePlayer::Wave(before).play(100, FilterNone, true);
    ASSERT_TRUE(WaitUntil([&] { return TimesHeard(heardBefore) == 1; }, kHeardWithinMs));

    SetDevicePresent(false);
    UseOverlapEngine(false);
    UseOverlapEngine(true);
    EXPECT_TRUE(OverlapEngineInUse());
    const WavePlayer::Wave afterWave(after);
    EXPECT_FALSE(PlayOnOverlapEngine(afterWave.Samples())) << "a stream without a device took it";

    SetDevicePresent(true);
    EXPECT_TRUE(PlayUntilHeard(after, heardAfter, [](const WaveSamples& sound) {
        PlayOnOverlapEngine(sound);
    })) << "no sound after the device came back";
    EXPECT_EQ(TimesHeard(heardBefore), 1u);
}

// The stream let go after a quiet, the device gone meanwhile: a key then finds no device, its
// sound is dropped rather than kept for later, and once the device is back keys sound again.
TEST_F(OverlapEngine, DeviceGoneDuringAQuietDropsThatKeyAndTheNextKeysSoundWhenItIsBack) {
    // Held at least 300 ms after each opening, long enough for the test to see it.
    OutputStream stream(IdleTimings{200, 300});
    const std::vector<uint8_t> before = TestSound(6);
    const std::vector<uint8_t> lost = TestSound(7);
    const std::vector<uint8_t> after = TestSound(8);
    const std::vector<uint8_t> heardBefore = RenderedBytes(before, device_);
    const std::vector<uint8_t> heardLost = RenderedBytes(lost, device_);
    const std::vector<uint8_t> heardAfter = RenderedBytes(after, device_);
    EXPECT_TRUE(stream.Play(WavePlayer::Wave(before).Samples()));
    ASSERT_TRUE(WaitUntil([&] { return TimesHeard(heardBefore) == 1; }, kHeardWithinMs));
    ASSERT_TRUE(WaitUntil([&] { return !stream.HoldsDevice(); }, kHeardWithinMs));

    SetDevicePresent(false);
    EXPECT_TRUE(stream.Play(WavePlayer::Wave(lost).Samples()))
        << "refused while let go, before the stream looked for the device";
    // Silence asks until the stream has found the device gone; it adds nothing to any sound.
    const WavePlayer::Wave silence(MakePlayableTestWav({2, 48000, 16, 4}, std::vector<uint8_t>(64)));
    EXPECT_TRUE(WaitUntil([&] { return !stream.Play(silence.Samples()); }, kHeardWithinMs))
        << "the stream never found the device gone";

    // Back: the stream finds it by itself and, with nothing to play, lets it go again; a
    // sound kept from before would have played alone in between.
    SetDevicePresent(true);
    ASSERT_TRUE(WaitUntil([&] { return stream.HoldsDevice(); }, kHeardWithinMs));
    ASSERT_TRUE(WaitUntil([&] { return !stream.HoldsDevice(); }, kHeardWithinMs));
    EXPECT_EQ(TimesHeard(heardLost), 0u) << "a key from while the device was gone sounded late";
    EXPECT_TRUE(PlayUntilHeard(after, heardAfter, [&](const WaveSamples& sound) {
        stream.Play(sound);
    })) << "no sound after the device came back";
    EXPECT_EQ(TimesHeard(heardBefore), 1u);
}

}  // namespace
