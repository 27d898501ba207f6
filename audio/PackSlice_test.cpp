#include "audio/PackSlice.h"

#include "audio/WavePlayer.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kRate = 8000;
constexpr size_t kFade = 12;  // 1.5 ms at 8 kHz
constexpr int16_t kHalf = 16384;

// One second of a constant half-scale level, so every sample shows the gain applied to it.
DecodedAudio Level(uint16_t channels, size_t frames = kRate) {
    return {std::vector<float>(frames * channels, 0.5f), kRate, channels};
}

uint32_t Read32(const std::vector<uint8_t>& at, size_t offset) {
    return uint32_t(at[offset]) | uint32_t(at[offset + 1]) << 8 | uint32_t(at[offset + 2]) << 16 |
           uint32_t(at[offset + 3]) << 24;
}

std::vector<int16_t> Samples(const std::vector<uint8_t>& wav) {
    std::vector<int16_t> samples;
    for (size_t at = 44; at + 1 < wav.size(); at += 2) samples.push_back(int16_t(wav[at] | wav[at + 1] << 8));
    return samples;
}

TEST(PackSlice, WritesThePlainLayoutTheLoaderReads) {
    std::vector<uint8_t> wav;
    PackSliceFailure failure;
    ASSERT_TRUE(SliceToWav(Level(2), 0, 10, wav, failure));
    ASSERT_EQ(wav.size(), 44u + 80 * 4);
    const std::string ids[] = {std::string(&wav[0], &wav[4]), std::string(&wav[8], &wav[16]),
                               std::string(&wav[36], &wav[40])};
    EXPECT_EQ(ids[0], "RIFF");
    EXPECT_EQ(ids[1], "WAVEfmt ");
    EXPECT_EQ(ids[2], "data");
    EXPECT_EQ(Read32(wav, 4), wav.size() - 8);
    EXPECT_EQ(Read32(wav, 40), 80u * 4);

    WavePlayer::Wave wave(wav);
    ASSERT_TRUE(wave.IsValid());
    EXPECT_EQ(wave.DataOffset(), 44u);
    EXPECT_EQ(wave.DataEnd(), wav.size());
    EXPECT_EQ(wave.Format().chunk.size, 16u);
    EXPECT_EQ(wave.Format().wFormatTag, 1);
    EXPECT_EQ(wave.Format().nChannels, 2);
    EXPECT_EQ(wave.Format().nSamplesPerSec, kRate);
    EXPECT_EQ(wave.Format().nAvgBytesPerSec, kRate * 4);
    EXPECT_EQ(wave.Format().nBlockAlign, 4);
    EXPECT_EQ(wave.Format().wBitsPerSample, 16);
}

TEST(PackSlice, CutsAndFadesOnlyAtTheCuts) {
    struct Case {
        const char* what;
        int64_t startMs, lengthMs;
        size_t frames;
        bool fadeIn, fadeOut;
    };
    const Case cases[] = {
        {"inside", 100, 200, 1600, true, true},
        {"from the start", 0, 100, 800, false, true},
        {"to the end", 900, 100, 800, true, false},
        {"running past the end is cut", 900, 500, 800, true, false},
        {"the whole of it", 0, 1000, 8000, false, false},
        {"shorter than two fades", 500, 1, 8, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> wav;
        PackSliceFailure failure;
        ASSERT_TRUE(SliceToWav(Level(1), c.startMs, c.lengthMs, wav, failure)) << failure.detail;
        const std::vector<int16_t> samples = Samples(wav);
        ASSERT_EQ(samples.size(), c.frames);
        const size_t fade = std::min(kFade, c.frames / 2);
        EXPECT_EQ(samples.front(), c.fadeIn ? 0 : kHalf);
        EXPECT_EQ(samples.back(), c.fadeOut ? 0 : kHalf);
        for (size_t i = 1; i < fade; ++i) {
            if (c.fadeIn) {
                EXPECT_GT(samples[i], samples[i - 1]) << i;
            }
            if (c.fadeOut) {
                EXPECT_LT(samples[c.frames - i], samples[c.frames - i - 1]) << i;
            }
        }
        if (c.frames > 2 * kFade) {
            EXPECT_EQ(samples[kFade], kHalf);
            EXPECT_EQ(samples[c.frames - 1 - kFade], kHalf);
        }
    }
}

TEST(PackSlice, FadesEveryChannelAlike) {
    DecodedAudio sound = Level(2);
    for (size_t i = 1; i < sound.samples.size(); i += 2) sound.samples[i] = -0.5f;
    std::vector<uint8_t> wav;
    PackSliceFailure failure;
    ASSERT_TRUE(SliceToWav(sound, 100, 100, wav, failure));
    const std::vector<int16_t> samples = Samples(wav);
    for (size_t frame = 0; frame < samples.size() / 2; ++frame) {
        EXPECT_EQ(samples[frame * 2], -samples[frame * 2 + 1]) << frame;
    }
    EXPECT_EQ(samples[2 * kFade + 1], -kHalf);
}

TEST(PackSlice, RefusesSlicesThatAreNotThere) {
    struct Case {
        const char* what;
        DecodedAudio sound;
        int64_t startMs, lengthMs;
        PackSliceError code;
    };
    const Case cases[] = {
        {"negative start", Level(1), -1, 100, PackSliceError::Negative},
        {"negative length", Level(1), 0, -5, PackSliceError::Negative},
        {"no length", Level(1), 10, 0, PackSliceError::Empty},
        {"no sound", Level(1, 0), 0, 10, PackSliceError::Empty},
        {"starts at the end", Level(1), 1000, 10, PackSliceError::PastEnd},
        {"starts far past the end", Level(1), 5000, 10, PackSliceError::PastEnd},
        {"starts where no product fits", Level(1), INT64_MAX, 10, PackSliceError::PastEnd},
        {"an hour", Level(1), 0, 3600000, PackSliceError::TooLong},
        {"just over the longest", Level(1), 0, kMaxWavSliceMs + 1, PackSliceError::TooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> wav;
        PackSliceFailure failure;
        EXPECT_FALSE(SliceToWav(c.sound, c.startMs, c.lengthMs, wav, failure));
        EXPECT_EQ(failure.code, c.code);
        EXPECT_NE(failure.detail.find(std::to_string(c.startMs) + " ms"), std::string::npos) << failure.detail;
        EXPECT_TRUE(wav.empty());
    }
}

TEST(PackSlice, WritesAWholeSoundUnfaded) {
    DecodedAudio sound{{0.5f, -1.0f, 1.0f, 0.0f}, 11025, 1};
    std::vector<uint8_t> wav;
    PackSliceFailure failure;
    ASSERT_TRUE(WholeToWav(sound, wav, failure));
    EXPECT_EQ(Samples(wav), (std::vector<int16_t>{kHalf, -32768, 32767, 0}));
    EXPECT_EQ(Read32(wav, 24), 11025u);
    EXPECT_FALSE(WholeToWav(DecodedAudio{}, wav, failure));
    EXPECT_EQ(failure.code, PackSliceError::Empty);
}

}  // namespace
