#include "audio/Mp3Decode_win.h"

#include "embedded/tone_stereo44k.mp3.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

// Whole periods of a tone, counted where it swings from below -level to above +level, so
// that noise about zero does not count.
size_t Periods(const DecodedAudio& sound, float level) {
    size_t periods = 0;
    bool low = false;
    for (size_t frame = 0; frame < sound.Frames(); ++frame) {
        const float sample = sound.samples[frame * sound.channels];
        if (sample < -level) low = true;
        if (low && sample > level) {
            ++periods;
            low = false;
        }
    }
    return periods;
}

TEST(Mp3Decode, DecodesAToneThroughThePlatformCodec) {
    DecodedAudio sound;
    ASSERT_TRUE(DecodeMp3WithAcm(ktone_stereo44k_mp3, sizeof ktone_stereo44k_mp3, 1 << 20, sound));
    EXPECT_EQ(sound.sampleRate, 44100u);
    ASSERT_EQ(sound.channels, 2);
    // A quarter second, and the encoder's delay and padding of at most three frames.
    EXPECT_GE(sound.Frames(), 11025u - 1152);
    EXPECT_LE(sound.Frames(), 11025u + 3 * 1152);
    EXPECT_NEAR(double(Periods(sound, 0.25f)), 110.0, 5.0);
    float peak = 0;
    for (float sample : sound.samples) peak = std::max(peak, std::fabs(sample));
    EXPECT_NEAR(peak, 0.5, 0.1);
}

TEST(Mp3Decode, StopsAtTheFramesAskedFor) {
    DecodedAudio sound;
    ASSERT_TRUE(DecodeMp3WithAcm(ktone_stereo44k_mp3, sizeof ktone_stereo44k_mp3, 1000, sound));
    EXPECT_EQ(sound.Frames(), 1000u);
}

TEST(Mp3Decode, RefusesWhatIsNoMp3) {
    const std::string text = "ID3 is how this text begins, and no frame follows it at all";
    const unsigned char header[] = {0xFF, 0xFB, 0x90, 0x44};
    struct Case {
        const char* what;
        const uint8_t* data;
        size_t size;
    };
    const Case cases[] = {
        {"text", reinterpret_cast<const uint8_t*>(text.data()), text.size()},
        {"a frame header alone", header, sizeof header},
        {"nothing", header, 0},
    };
    for (const Case& c : cases) {
        DecodedAudio sound;
        EXPECT_FALSE(DecodeMp3WithAcm(c.data, c.size, 1 << 20, sound)) << c.what;
        EXPECT_TRUE(sound.samples.empty()) << c.what;
    }
}

TEST(Mp3Decode, SurvivesATruncatedStream) {
    for (size_t size : {size_t(200), size_t(700), sizeof ktone_stereo44k_mp3 / 2}) {
        DecodedAudio sound;
        DecodeMp3WithAcm(ktone_stereo44k_mp3, size, 1 << 20, sound);
        EXPECT_LE(sound.Frames(), 11025u / 2 + 3 * 1152) << size;
    }
}

}  // namespace
