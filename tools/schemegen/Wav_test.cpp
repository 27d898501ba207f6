#include "tools/schemegen/Wav.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "audio/WavePlayer.h"

namespace schemegen {
namespace {

uint32_t U32At(const std::vector<uint8_t>& b, size_t at)
{
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t U16At(const std::vector<uint8_t>& b, size_t at)
{
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

std::string TagAt(const std::vector<uint8_t>& b, size_t at)
{
    return std::string(b.begin() + at, b.begin() + at + 4);
}

TEST(EncodeWav, HeaderIsPlainPcmWithDataRightAfterFormat)
{
    struct Case {
        WavFormat format;
        size_t samples;
        uint32_t dataSize;
        uint16_t blockAlign;
    };
    const Case cases[] = {
        {{11025, 8, 1}, 10, 10, 1},
        {{11025, 8, 1}, 11, 12, 1},  // odd 8-bit count gains a silent frame: no pad byte
        {{22050, 16, 1}, 7, 14, 2},
        {{22050, 16, 2}, 8, 16, 4},
        {{44100, 8, 2}, 6, 6, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.format.sampleRate << " Hz, " << c.format.bitsPerSample
                                        << " bit, " << c.format.channels << " ch, " << c.samples);
        const std::vector<uint8_t> wav = EncodeWav(Samples(c.samples, 0.25), c.format);
        ASSERT_EQ(wav.size(), kWavHeaderSize + c.dataSize);
        EXPECT_EQ(TagAt(wav, 0), "RIFF");
        EXPECT_EQ(U32At(wav, 4), wav.size() - 8);
        EXPECT_EQ(TagAt(wav, 8), "WAVE");
        EXPECT_EQ(TagAt(wav, 12), "fmt ");
        EXPECT_EQ(U32At(wav, 16), 16u);
        EXPECT_EQ(U16At(wav, 20), 1);
        EXPECT_EQ(U16At(wav, 22), c.format.channels);
        EXPECT_EQ(U32At(wav, 24), c.format.sampleRate);
        EXPECT_EQ(U32At(wav, 28), c.format.sampleRate * c.blockAlign);
        EXPECT_EQ(U16At(wav, 32), c.blockAlign);
        EXPECT_EQ(U16At(wav, 34), c.format.bitsPerSample);
        EXPECT_EQ(TagAt(wav, 36), "data");
        EXPECT_EQ(U32At(wav, 40), c.dataSize);

        WavePlayer::Wave loaded(wav);
        EXPECT_TRUE(loaded.IsValid());
        EXPECT_EQ(loaded.DataOffset(), kWavHeaderSize);
        EXPECT_EQ(loaded.Format().wBitsPerSample, c.format.bitsPerSample);
    }
}

TEST(EncodeWav, SamplesAreRoundedAndClampedToFullScale)
{
    const Samples in = {0.0, 1.0, -1.0, 0.5, -0.5, 1.7, -3.0, 0.004, -0.004, 0.0001};
    const std::vector<uint8_t> eight = EncodeWav(in, {8000, 8, 1});
    const std::vector<uint8_t> expected8 = {128, 255, 1, 192, 64, 255, 1, 129, 127, 128};
    EXPECT_EQ(std::vector<uint8_t>(eight.begin() + kWavHeaderSize, eight.end()), expected8);

    const std::vector<uint8_t> sixteen = EncodeWav(in, {8000, 16, 1});
    const int16_t expected16[] = {0, 32767, -32767, 16384, -16384, 32767, -32767, 131, -131, 3};
    for (size_t i = 0; i < in.size(); ++i)
        EXPECT_EQ(static_cast<int16_t>(U16At(sixteen, kWavHeaderSize + 2 * i)), expected16[i])
            << "sample " << i;
}

TEST(EncodeWav, StereoKeepsChannelOrderAndDropsAHalfFrame)
{
    const std::vector<uint8_t> wav = EncodeWav({0.5, -0.5, 0.25, -0.25, 0.9}, {22050, 16, 2});
    ASSERT_EQ(wav.size(), kWavHeaderSize + 8);
    EXPECT_EQ(static_cast<int16_t>(U16At(wav, 44)), 16384);
    EXPECT_EQ(static_cast<int16_t>(U16At(wav, 46)), -16384);
    EXPECT_EQ(static_cast<int16_t>(U16At(wav, 48)), 8192);
    EXPECT_EQ(static_cast<int16_t>(U16At(wav, 50)), -8192);
}

TEST(EncodeWav, RefusesFormatsItCannotWriteTruthfully)
{
    const WavFormat refused[] = {{22050, 24, 1}, {22050, 12, 1}, {22050, 16, 0}, {22050, 16, 3},
                                 {0, 16, 1}};
    for (const WavFormat& format : refused)
        EXPECT_THROW(EncodeWav(Samples(4, 0.0), format), std::invalid_argument)
            << format.bitsPerSample << " bit, " << format.channels << " channels";
}

TEST(EncodeWav, EmptySoundIsAValidFileWithNoSamples)
{
    const std::vector<uint8_t> wav = EncodeWav({}, {11025, 8, 1});
    ASSERT_EQ(wav.size(), kWavHeaderSize);
    EXPECT_EQ(U32At(wav, 40), 0u);
    WavePlayer::Wave loaded(wav);
    EXPECT_TRUE(loaded.IsValid());
}

}  // namespace
}  // namespace schemegen
