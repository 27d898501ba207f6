#include "audio/Mixer.h"

#include "audio/MixTestSound.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

namespace {

const MixFormat kMono48k{48000, 1};
const MixFormat kStereo48k{48000, 2};
const uint32_t kFadeInFrames = 24;    // half a millisecond at 48 kHz
const uint32_t kFadeOutFrames = 144;  // three milliseconds

std::vector<float> Render(Mixer& mixer, uint32_t frames, const MixFormat& format) {
    std::vector<float> out(size_t(frames) * format.channels, 123.0f);
    mixer.Render(out.data(), frames, format);
    return out;
}

double LargestStep(const std::vector<float>& samples, unsigned channels) {
    double largest = 0;
    for (size_t i = channels; i < samples.size(); ++i) {
        largest = std::max(largest, std::fabs(double(samples[i]) - samples[i - channels]));
    }
    return largest;
}

TEST(Mixer, TwoSoundsSum) {
    Mixer mixer;
    const MixTestSound low = MakeConstantSound(0.25, 1000, 48000);
    const MixTestSound high = MakePcm16Sound(Sine(1000, 48000, 1000, 0.5), 1, 48000);
    ASSERT_TRUE(mixer.Play(low.Samples(), kStereo48k));
    ASSERT_TRUE(mixer.Play(high.Samples(), kStereo48k));
    const std::vector<float> out = Render(mixer, 1200, kStereo48k);
    for (size_t frame = kFadeInFrames; frame < 1200; ++frame) {
        const double expected = frame < 1000 ? std::lround(0.25 * 32767) / 32768.0 +
                                                   std::lround(Sine(1000, 48000, 1000, 0.5)[frame] * 32767) / 32768.0
                                             : 0.0;
        ASSERT_NEAR(out[2 * frame], expected, 1e-6) << frame;
        ASSERT_EQ(out[2 * frame], out[2 * frame + 1]) << frame;
    }
    EXPECT_FALSE(mixer.Busy());
}

TEST(Mixer, OnlyTheFrontPairOfAWideStreamSounds) {
    Mixer mixer;
    const MixTestSound stereo = MakePcm16Sound({0.5, -0.5, 0.5, -0.5}, 2, 48000);
    const MixFormat six{48000, 6};
    ASSERT_TRUE(mixer.Play(stereo.Samples(), six));
    const std::vector<float> out = Render(mixer, 2, six);
    EXPECT_EQ(std::vector<float>(out.begin() + 6, out.end()),
              (std::vector<float>{0.5f / kFadeInFrames, -0.5f / kFadeInFrames, 0, 0, 0, 0}));
}

// Started at once, a full-scale sound would step by 1.0 on its first sample.
TEST(Mixer, ASoundStartsWithoutAStep) {
    Mixer mixer;
    const MixTestSound full = MakeConstantSound(1.0, 2000, 48000);
    const MixTestSound full441 = MakeConstantSound(-1.0, 2000, 44100);
    for (const MixTestSound* sound : {&full, &full441}) {
        ASSERT_TRUE(mixer.Play(sound->Samples(), kMono48k));
        const std::vector<float> out = Render(mixer, 256, kMono48k);
        EXPECT_EQ(out[0], 0.0f);
        EXPECT_LE(LargestStep(out, 1), 0.06);
        EXPECT_NEAR(std::fabs(out.back()), 1.0, 1e-3);
        while (mixer.Busy()) Render(mixer, 256, kMono48k);
    }
}

// The 33rd sound fades out the oldest: one loud sound among 31 quiet ones, so its ramp shows.
TEST(Mixer, The33rdSoundFadesOutTheOldest) {
    Mixer mixer;
    const MixTestSound loud = MakeConstantSound(0.3, 48000, 48000);
    const MixTestSound quiet = MakeConstantSound(0.01, 48000, 48000);
    ASSERT_TRUE(mixer.Play(loud.Samples(), kMono48k));
    for (int i = 0; i < 31; ++i) ASSERT_TRUE(mixer.Play(quiet.Samples(), kMono48k));
    const double level = std::lround(0.3 * 32767) / 32768.0 + 31 * std::lround(0.01 * 32767) / 32768.0;
    EXPECT_NEAR(Render(mixer, 480, kMono48k).back(), level, 1e-5);

    ASSERT_TRUE(mixer.Play(quiet.Samples(), kMono48k));
    const std::vector<float> out = Render(mixer, 480, kMono48k);
    const double after = 32 * std::lround(0.01 * 32767) / 32768.0;
    EXPECT_GT(out[0], after + 0.25);
    for (size_t frame = kFadeOutFrames; frame < out.size(); ++frame) {
        ASSERT_NEAR(out[frame], after, 1e-5) << frame;
    }
    EXPECT_LE(LargestStep(out, 1), 0.3 / kFadeOutFrames + 0.01 / kFadeInFrames + 1e-4);
}

TEST(Mixer, SixteenFullScaleSoundsStayWithinFullScale) {
    Mixer mixer;
    std::vector<MixTestSound> sounds;
    for (int i = 0; i < 16; ++i) {
        sounds.push_back(MakePcm16Sound(Sine(200 + 50 * i, 44100, 4410, 1.0), 1, 44100));
        ASSERT_TRUE(mixer.Play(sounds.back().Samples(), kStereo48k));
    }
    float peak = 0;
    while (mixer.Busy()) {
        for (float sample : Render(mixer, 480, kStereo48k)) peak = std::max(peak, std::fabs(sample));
    }
    EXPECT_LE(peak, 1.0f);
    EXPECT_GT(peak, 0.9f);  // limited, not merely made quiet
}

TEST(Mixer, ASingleSoundKeepsItsLevel) {
    Mixer mixer;
    const MixTestSound sound = MakePcm16Sound(Sine(1000, 48000, 4800, 1.0), 1, 48000);
    ASSERT_TRUE(mixer.Play(sound.Samples(), kMono48k));
    const std::vector<float> out = Render(mixer, 4800, kMono48k);
    EXPECT_NEAR(*std::max_element(out.begin(), out.end()), 32767 / 32768.0, 1e-6);
}

TEST(Mixer, SoundsForAnotherFormatAreDropped) {
    Mixer mixer;
    const MixTestSound sound = MakeConstantSound(0.5, 4800, 48000);
    ASSERT_TRUE(mixer.Play(sound.Samples(), kMono48k));
    Render(mixer, 100, kMono48k);
    ASSERT_TRUE(mixer.Play(sound.Samples(), kMono48k));
    const std::vector<float> out = Render(mixer, 100, {44100, 1});
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float sample) { return sample == 0; }));
    EXPECT_FALSE(mixer.Busy());
}

TEST(Mixer, RefusesWhatItCannotPlay) {
    Mixer mixer;
    const MixTestSound sound = MakeConstantSound(0.5, 10, 48000);
    WaveSamples bad = sound.Samples();
    bad.blockAlign = 4;
    EXPECT_FALSE(mixer.Play(bad, kMono48k));
    EXPECT_FALSE(mixer.Play(sound.Samples(), {0, 2}));
    EXPECT_FALSE(mixer.Play(sound.Samples(), {48000, 0}));
    EXPECT_FALSE(mixer.Busy());
    // A full hand-off drops the sound: 32 wait for the render thread, the 33rd cannot.
    for (int i = 0; i < 32; ++i) ASSERT_TRUE(mixer.Play(sound.Samples(), kMono48k));
    EXPECT_FALSE(mixer.Play(sound.Samples(), kMono48k));
    Render(mixer, 20, kMono48k);
    EXPECT_TRUE(mixer.Play(sound.Samples(), kMono48k));
}

// Play on this thread, Render on another, as the program does: every sound reaches the output.
// More than 32 sounds starting in one block would rightly fade the oldest out, so the sounds go
// in batches of 32, each after the render thread has finished two more blocks: then no block
// takes sounds of two batches.
TEST(Mixer, NoSoundIsLostBetweenTwoThreads) {
    const MixTestSound sound = MakeConstantSound(1.0 / 64, 48, 48000);
    const uint32_t block = 64;  // longer than a sound, so each ends in the block it starts in
    double one = 0;
    {
        Mixer alone;
        ASSERT_TRUE(alone.Play(sound.Samples(), kMono48k));
        for (float sample : Render(alone, block, kMono48k)) one += sample;
    }
    const int sounds = 640;
    Mixer mixer;
    std::atomic<bool> allPlayed{false};
    std::atomic<unsigned> blocks{0};
    double total = 0;
    std::thread render([&] {
        std::vector<float> out(block);
        while (!allPlayed.load() || mixer.Busy()) {
            mixer.Render(out.data(), block, kMono48k);
            for (float sample : out) total += sample;
            ++blocks;
        }
    });
    for (int i = 1; i <= sounds; ++i) {
        while (!mixer.Play(sound.Samples(), kMono48k)) std::this_thread::yield();
        if (i % 32 != 0) continue;
        const unsigned seen = blocks.load();
        while (blocks.load() < seen + 2) std::this_thread::yield();
    }
    allPlayed.store(true);
    render.join();
    EXPECT_NEAR(total, sounds * one, one / 10);
}

}  // namespace
