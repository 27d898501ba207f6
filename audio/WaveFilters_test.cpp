#include "audio/WavePlayer.h"

#include "tests/TestWav.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

const TestWavFormat kMono8{1, 11025, 8, 1};
const TestWavFormat kStereo8{2, 11025, 8, 2};
const TestWavFormat kMono16{1, 22050, 16, 2};
const TestWavFormat kStereo16{2, 44100, 16, 4};
const TestWavFormat kMono24{1, 44100, 24, 3};
constexpr unsigned kVolumeOff = 101;

std::vector<uint8_t> S16(std::initializer_list<int> samples) {
    std::vector<uint8_t> bytes;
    for (int s : samples) {
        bytes.push_back(uint8_t(s & 0xFF));
        bytes.push_back(uint8_t((s >> 8) & 0xFF));
    }
    return bytes;
}

std::vector<uint8_t> Join(std::vector<uint8_t> first, const std::vector<uint8_t>& second) {
    first.insert(first.end(), second.begin(), second.end());
    return first;
}

std::vector<uint8_t> SampleBytes(const WavePlayer::Wave& wave) {
    return std::vector<uint8_t>(wave.PlayImageData() + wave.DataOffset(),
                                wave.PlayImageData() + wave.DataEnd());
}

std::vector<uint8_t> FilteredImage(const std::vector<uint8_t>& image, int filter,
                                   unsigned volume) {
    WavePlayer::Wave wave(image);
    EXPECT_TRUE(wave.ApplyFilterAndVolume(volume, filter));
    // Filters and the volume step never touch the length or any byte outside the samples.
    EXPECT_EQ(wave.PlayImageSize(), image.size());
    EXPECT_TRUE(std::equal(image.begin(), image.begin() + wave.DataOffset(), wave.PlayImageData()));
    EXPECT_TRUE(std::equal(image.begin() + wave.DataEnd(), image.end(),
                           wave.PlayImageData() + wave.DataEnd()));
    return SampleBytes(wave);
}

std::vector<uint8_t> Filtered(const TestWavFormat& format, const std::vector<uint8_t>& samples,
                              int filter, unsigned volume) {
    return FilteredImage(MakeTestWav(format, samples), filter, volume);
}

struct SampleCase {
    const char* what;
    TestWavFormat format;
    std::vector<uint8_t> samples;
    int filter;
    unsigned volume;
    std::vector<uint8_t> expected;
};

TEST(WaveVolume, ScalesEightAndSixteenBitSamples) {
    const std::vector<uint8_t> bytes8 = {0, 255, 128, 1, 129, 127};
    const std::vector<uint8_t> bytes16 = S16({3, -3, 32767, -32768, 1, -1});
    const SampleCase cases[] = {
        {"8-bit at 50", kMono8, bytes8, FilterNone, 50, {64, 192, 128, 65, 129, 128}},
        {"8-bit at 33", kMono8, {0, 255, 100, 200, 129}, FilterNone, 33, {86, 170, 119, 152, 128}},
        {"8-bit at 0", kMono8, bytes8, FilterNone, 0, std::vector<uint8_t>(6, 128)},
        {"8-bit at 100", kMono8, bytes8, FilterNone, 100, bytes8},
        {"8-bit above 100", kMono8, bytes8, FilterNone, 101, bytes8},
        {"8-bit at the largest volume", kMono8, bytes8, FilterNone, 0xFFFFFFFF, bytes8},
        {"16-bit at 50", kMono16, bytes16, FilterNone, 50, S16({2, -1, 16384, -16384, 1, 0})},
        {"16-bit at 33", kMono16, S16({1000, -1000, 3, -32768, 32767, 101}), FilterNone, 33,
         S16({330, -330, 1, -10813, 10813, 33})},
        {"16-bit at 0", kMono16, bytes16, FilterNone, 0, S16({0, 0, 0, 0, 0, 0})},
        {"16-bit at 100", kStereo16, bytes16, FilterNone, 100, bytes16},
        {"16-bit odd last byte untouched", kMono16, Join(S16({1000}), {0x7F}), FilterNone, 50,
         Join(S16({500}), {0x7F})},
        {"24-bit untouched", kMono24, bytes8, FilterNone, 50, bytes8},
    };
    for (const SampleCase& c : cases) {
        EXPECT_EQ(Filtered(c.format, c.samples, c.filter, c.volume), c.expected) << c.what;
    }
}

TEST(WaveFilters, RewriteSamplesByFilterNumber) {
    const std::vector<uint8_t> nine = {0, 1, 2, 3, 4, 5, 6, 7, 8};
    const std::vector<uint8_t> bytes8 = {0, 1, 128, 255};
    const std::vector<uint8_t> bytes16 = S16({1000, -1000, 7});
    const SampleCase cases[] = {
        {"inversion, odd byte stays", kMono8, {'a', 'b', 'c', 'd', 'e'}, FilterInversion,
         kVolumeOff, {'d', 'c', 'b', 'a', 'e'}},
        {"inversion of 24-bit frames", kMono24, nine, FilterInversion, kVolumeOff,
         {5, 6, 7, 3, 4, 0, 1, 2, 8}},
        {"inversion of stereo frames, partial frame stays", kStereo16,
         Join(S16({1, 2, 3, 4, 5, 6}), {9, 9}), FilterInversion, kVolumeOff,
         Join(S16({5, 6, 3, 4, 1, 2}), {9, 9})},
        {"inversion then volume", kMono8, {0, 64, 255}, FilterInversion, 50, {96, 64, 192}},
        {"negate 8-bit", kMono8, bytes8, FilterNegate, kVolumeOff, {255, 254, 127, 0}},
        {"negate leaves 16-bit", kMono16, bytes16, FilterNegate, kVolumeOff, bytes16},
        {"negate on 16-bit is volume only", kMono16, bytes16, FilterNegate, 50,
         S16({500, -500, 4})},
        {"repeat mono", kMono8, {10, 11, 12, 13, 14, 15, 16}, FilterRepeat, kVolumeOff,
         {10, 10, 12, 12, 14, 14, 16}},
        {"repeat stereo", kStereo8, {10, 11, 12, 13, 14, 15, 16, 17, 18, 19}, FilterRepeat,
         kVolumeOff, {10, 10, 11, 11, 12, 12, 13, 13, 18, 19}},
        {"repeat leaves 16-bit", kMono16, bytes16, FilterRepeat, kVolumeOff, bytes16},
        {"echo, negate and repeat leave 24-bit", kMono24, nine, FilterEcho, 50, nine},
        {"negate leaves 24-bit", kMono24, nine, FilterNegate, 0, nine},
        {"filter 5 plays as recorded", kMono8, bytes8, 5, 50, {64, 65, 128, 192}},
        {"filter -1 plays as recorded", kMono8, bytes8, -1, kVolumeOff, bytes8},
    };
    for (const SampleCase& c : cases) {
        EXPECT_EQ(Filtered(c.format, c.samples, c.filter, c.volume), c.expected) << c.what;
    }
}

// Headers that cannot form frames or channel groups leave the samples alone.
TEST(WaveFilters, DegenerateHeadersLeaveSamples) {
    const std::vector<uint8_t> samples = {9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 200, 100};
    const struct {
        const char* what;
        TestWavFormat format;
        int filter;
    } cases[] = {
        {"8-bit inversion, block size 0", {1, 11025, 8, 0}, FilterInversion},
        {"16-bit inversion, block size 0", {2, 22050, 16, 0}, FilterInversion},
        {"repeat without channels", {0, 11025, 8, 1}, FilterRepeat},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Filtered(c.format, samples, c.filter, kVolumeOff), samples) << c.what;
    }
}

// Without a delay each sample is mixed with itself: 8-bit samples lose their lowest bit, odd
// 16-bit samples move one step toward zero; the loop bounds still leave the last bytes alone.
TEST(WaveEcho, ZeroDelayMixesEachSampleWithItself) {
    const std::vector<uint8_t> bytes8 = {9, 8, 7, 255, 0, 1, 129, 3};
    const std::vector<uint8_t> halved8 = {8, 8, 6, 254, 0, 0, 129, 3};
    const std::vector<uint8_t> bytes16 = S16({7, -7, 32767, -32768, 1, -1, 5});
    const std::vector<uint8_t> halved16 = S16({6, -6, 32766, -32768, 0, 0, 5});
    const SampleCase cases[] = {
        {"8-bit, block size 0", {1, 11025, 8, 0}, bytes8, FilterEcho, kVolumeOff, halved8},
        {"8-bit under 1 kHz", {1, 999, 8, 1}, bytes8, FilterEcho, kVolumeOff, halved8},
        {"16-bit, block size 0", {1, 22050, 16, 0}, bytes16, FilterEcho, kVolumeOff, halved16},
        {"16-bit at rate 0", {1, 0, 16, 2}, bytes16, FilterEcho, kVolumeOff, halved16},
        {"16-bit under 1 kHz, then volume", {1, 999, 16, 2}, bytes16, FilterEcho, 50,
         S16({3, -3, 16383, -16384, 0, 0, 3})},
        // A single byte halves the delay to 0, and the loop bounds leave the byte alone.
        {"8-bit, one byte", {1, 11025, 8, 1}, {201}, FilterEcho, kVolumeOff, {201}},
    };
    for (const SampleCase& c : cases) {
        EXPECT_EQ(Filtered(c.format, c.samples, c.filter, c.volume), c.expected) << c.what;
    }
}

TEST(WaveEcho, EightBitFeedsBackEveryDelay) {
    // 11,025 Hz 8-bit mono: 550 bytes of delay.
    std::vector<uint8_t> samples(1200, 100);
    std::fill(samples.begin(), samples.begin() + 550, 200);
    std::vector<uint8_t> expected = samples;
    std::fill(expected.begin() + 550, expected.begin() + 1100, 150);  // 100 + 50
    std::fill(expected.begin() + 1100, expected.begin() + 1198, 125);  // 75 + 50
    // The loop stops two bytes short of the end.
    EXPECT_EQ(Filtered(kMono8, samples, FilterEcho, kVolumeOff), expected);
}

TEST(WaveEcho, ShortSixteenBitSoundUsesHalfItsLength) {
    // 22,050 Hz 16-bit mono would delay 2,200 bytes; 1,000 data bytes give 500.
    std::vector<uint8_t> samples;
    for (int i = 0; i < 500; ++i) samples = Join(samples, S16({i < 250 ? -1001 : 3}));
    std::vector<uint8_t> expected;
    for (int i = 0; i < 500; ++i) {
        // 3/2 + -1001/2 truncates toward zero: 1 + -500; the last two samples are not mixed.
        expected = Join(expected, S16({i < 250 ? -1001 : i < 498 ? -499 : 3}));
    }
    EXPECT_EQ(Filtered(kMono16, samples, FilterEcho, kVolumeOff), expected);
}

TEST(WaveEcho, ImpulseRepeatsAtHalfStrengthEveryDelay) {
    // 44,100 Hz 16-bit stereo delays 8,800 bytes and 22,050 Hz mono 2,200, or half the data
    // when that is shorter.
    const struct {
        TestWavFormat format;
        size_t dataBytes;
        size_t delay;
    } cases[] = {{kStereo16, 20000, 8800}, {kStereo16, 8000, 4000}, {kMono16, 5000, 2200}};
    for (const auto& c : cases) {
        std::vector<uint8_t> samples(c.dataBytes, 0);
        samples[0] = 1000 & 0xFF;
        samples[1] = 1000 >> 8;
        std::vector<uint8_t> expected = samples;
        for (size_t at = c.delay, level = 500; at + 4 < c.dataBytes; at += c.delay, level /= 2) {
            expected[at] = uint8_t(level & 0xFF);
            expected[at + 1] = uint8_t(level >> 8);
        }
        EXPECT_EQ(Filtered(c.format, samples, FilterEcho, kVolumeOff), expected) << c.dataBytes;
    }
}

// Wherever the data chunk sits among other chunks, every filter and the volume step give the
// samples exactly what they give them in a plain file, and leave every other byte as it was.
// The plain file's result is only the reference: the tests above pin its values.
TEST(WaveFilters, ActOnlyOnTheDataChunk) {
    const std::vector<uint8_t> comment = {'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 13, 0, 0, 0,
                                          'm', 'y', ' ', 'd', 'a', 't', 'a', ' ', 'h', 'e', 'r',
                                          'e', 0, 0};
    const std::vector<uint8_t> samples = TestSamples(41, 7);
    const std::vector<uint8_t> padByte = {0};  // follows a chunk of odd size
    const std::vector<uint8_t> stray = {'d', 'a', 't', 'a', 1, 0};
    const auto data = [&](TestWavBuilder builder) {
        return builder.Chunk("data", samples).Bytes(padByte);
    };
    for (const TestWavFormat& format : {kMono8, kStereo16}) {
        const struct {
            const char* what;
            std::vector<uint8_t> image;
        } layouts[] = {
            {"data text in a LIST before the data",
             data(TestWavBuilder().Header(format).Chunk("LIST", comment)).Image()},
            {"a chunk after the data",
             data(TestWavBuilder().Header(format)).Chunk("LIST", comment).Image()},
            {"stray bytes after the data",
             data(TestWavBuilder().Header(format)).Bytes(stray).Image()},
            {"18-byte format followed by the data",
             data(TestWavBuilder().Header(format, 18)).Image()},
        };
        for (const auto& layout : layouts) {
            for (int filter = FilterNone; filter <= FilterRepeat; ++filter) {
                for (unsigned volume : {50u, kVolumeOff}) {
                    EXPECT_EQ(FilteredImage(layout.image, filter, volume),
                              Filtered(format, samples, filter, volume))
                        << layout.what << ", " << format.bitsPerSample << "-bit, filter "
                        << filter << ", volume " << volume;
                }
            }
        }
    }
}

TEST(WaveFilters, EachFilterStartsFromTheRecording) {
    const std::vector<uint8_t> image = MakeTestWav(kMono8, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    WavePlayer::Wave wave(image);
    ASSERT_TRUE(wave.ApplyFilterAndVolume(0, FilterRepeat));
    ASSERT_TRUE(wave.ApplyFilterAndVolume(kVolumeOff, FilterInversion));
    EXPECT_EQ(SampleBytes(wave), (std::vector<uint8_t>{8, 7, 6, 5, 4, 3, 2, 1, 9}));
    ASSERT_TRUE(wave.ApplyFilterAndVolume(kVolumeOff, FilterNone));
    EXPECT_EQ(
        std::vector<uint8_t>(wave.PlayImageData(), wave.PlayImageData() + wave.PlayImageSize()),
        image);
}

TEST(WaveFilters, NothingRunsOnAWaveThatIsNotValid) {
    WavePlayer::Wave wave(std::vector<uint8_t>(30, 0));
    EXPECT_FALSE(wave.ApplyEcho());
    EXPECT_FALSE(wave.ApplyInversion());
    EXPECT_FALSE(wave.ApplyNegate());
    EXPECT_FALSE(wave.ApplyRepeat());
    EXPECT_FALSE(wave.ApplyVolume(50));
    for (int filter : {0, 1, 7}) {
        EXPECT_FALSE(wave.ApplyFilterAndVolume(kVolumeOff, filter)) << filter;
    }
}

}  // namespace
