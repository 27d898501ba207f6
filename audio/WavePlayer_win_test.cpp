// The play call under Wine: what reaches the platform, and that the image of an asynchronous
// sound stays alive, unchanged, until the next sound has replaced it or playback was stopped.
#include "audio/WavePlayer.h"
#include "audio/WavePlayer_win.h"

#include "app/Trace.h"
#include "tests/ScopedTraceFile_win.h"
#include "tests/TestFiles.h"
#include "tests/TestWav.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

namespace {

constexpr TestWavFormat kMono16{1, 22050, 16, 2};
constexpr TestWavFormat kStereo8{2, 11025, 8, 2};

// Long enough to be still playing when the next request comes.
std::vector<uint8_t> LongSound(unsigned seed) {
    return MakePlayableTestWav(kMono16, TestSamples(kMono16.samplesPerSec * 2, seed));
}

std::vector<uint8_t> HeldImage() {
    const PlayingWaveImage held = CurrentPlayingWaveImage();
    return std::vector<uint8_t>(held.data, held.data + held.size);
}

void PlayAsync(const std::vector<uint8_t>& image, unsigned volume = 100, int filter = 0) {
    WavePlayer::Wave(image).play(volume, filter, true);
}

class WavePlayback : public ::testing::Test {
protected:
    void SetUp() override { StopWavePlayback(); }
    void TearDown() override { StopWavePlayback(); }
};

TEST_F(WavePlayback, AsyncImageOutlivesItsWaveUntilTheNextSound) {
    const std::vector<uint8_t> first = LongSound(1);
    const std::vector<uint8_t> second = LongSound(2);
    PlayAsync(first);
    EXPECT_EQ(HeldImage(), first) << "the wave is gone, its image must not be";

    // Heap traffic after the wave was freed must not reach the image being played.
    for (int i = 0; i < 64; ++i) std::vector<uint8_t> churn(first.size(), uint8_t(i));
    EXPECT_EQ(HeldImage(), first);

    PlayAsync(second);
    EXPECT_EQ(HeldImage(), second) << "a new sound replaces the one still playing at once";
}

// Wiring only: the filters' own result is the reference; the native wave tests pin its values.
TEST_F(WavePlayback, FilterAndVolumeAreAppliedBeforeThePlatformGetsTheImage) {
    struct Case {
        TestWavFormat format;
        unsigned volume;
        int filter;
    };
    const Case cases[] = {
        {kMono16, 50, FilterInversion}, {kMono16, 0, FilterEcho},  {kMono16, 101, FilterInversion},
        {kStereo8, 37, FilterEcho},     {kStereo8, 100, FilterNegate}, {kStereo8, 80, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.format.bitsPerSample << "-bit, volume " << c.volume
                                          << ", filter " << c.filter);
        const std::vector<uint8_t> file =
            MakePlayableTestWav(c.format, TestSamples(4000, c.volume + 7));
        WavePlayer::Wave expected(file);
        ASSERT_TRUE(expected.ApplyFilterAndVolume(c.volume, c.filter));
        const std::vector<uint8_t> expectedImage = expected.TakePlayImage();
        PlayAsync(file, c.volume, c.filter);
        EXPECT_EQ(HeldImage(), expectedImage);
        EXPECT_NE(HeldImage(), file) << "the step changed nothing, so the case proves nothing";
    }
}

TEST_F(WavePlayback, SoundThatCannotPlayLeavesTheCurrentOneAlone) {
    const std::vector<uint8_t> playing = LongSound(3);
    PlayAsync(playing);
    const PlayingWaveImage before = CurrentPlayingWaveImage();

    const std::vector<uint8_t> notAWave(100, 'x');
    PlayAsync(notAWave);
    WavePlayer::Wave("Z:\\no such folder\\missing.wav").play(100, 0, true);
    std::vector<uint8_t> formatOfSize20 = TestWavBuilder().Header(kMono16, 20).Image();
    TestWavBuilder tail;
    tail.Chunk("data", TestSamples(100, 4));
    const std::vector<uint8_t> dataChunk = tail.Image();
    formatOfSize20.insert(formatOfSize20.end(), dataChunk.begin(), dataChunk.end());
    PlayAsync(formatOfSize20);

    const PlayingWaveImage after = CurrentPlayingWaveImage();
    EXPECT_EQ(after.data, before.data);
    EXPECT_EQ(HeldImage(), playing);
}

TEST_F(WavePlayback, SynchronousSoundKeepsNothingOnceItHasPlayed) {
    PlayAsync(LongSound(5));
    // 20 ms of sound: the call returns when it has played, having stopped the long one first.
    const std::vector<uint8_t> click = MakePlayableTestWav(kStereo8, TestSamples(440, 6));
    WavePlayer::Wave(click).play(100, 0, false);
    EXPECT_EQ(CurrentPlayingWaveImage().data, nullptr);
    EXPECT_EQ(CurrentPlayingWaveImage().size, 0u);
}

TEST_F(WavePlayback, StopEndsTheSoundAndPlaybackWorksAfterwards) {
    PlayAsync(LongSound(7));
    StopWavePlayback();
    EXPECT_EQ(CurrentPlayingWaveImage().data, nullptr);
    StopWavePlayback();  // nothing playing: nothing to do
    const std::vector<uint8_t> next = LongSound(8);
    PlayAsync(next);
    EXPECT_EQ(HeldImage(), next);
}

// Which image is held is what counts here; the newest one's samples come from the filters.
TEST_F(WavePlayback, TypingFasterThanTheSoundsLastKeepsOnlyTheNewest) {
    const std::vector<uint8_t> sounds[] = {
        LongSound(9), MakePlayableTestWav(kStereo8, TestSamples(9000, 10)), LongSound(11)};
    constexpr int kRequests = 40;
    for (int i = 0; i < kRequests; ++i) PlayAsync(sounds[i % 3], 100 - i, i % 5);
    constexpr int kLast = kRequests - 1;
    WavePlayer::Wave last(sounds[kLast % 3]);
    ASSERT_TRUE(last.ApplyFilterAndVolume(100 - kLast, kLast % 5));
    EXPECT_EQ(HeldImage(), last.TakePlayImage());
}

TEST_F(WavePlayback, EveryPlayCallWritesItsTracePairWhenTracingIsOn) {
    const ScopedTraceFile trace;
    ASSERT_TRUE(trace.FolderReady());

    WavePlayer::Wave(std::vector<uint8_t>(10, 0)).play(100, 0, true);  // not valid: traced too
    PlayAsync(LongSound(12));
    trace.StopTracing();
    PlayAsync(LongSound(13));

    const std::string pair =
        "Entering WavePlayer::Wave::play() - (WavePlayer.cpp:39)\r\n"
        "Leaving  WavePlayer::Wave::play() - (WavePlayer.cpp)\r\n";
    EXPECT_EQ(ReadWholeFile(kTraceFilePath), pair + pair);
}

}  // namespace
