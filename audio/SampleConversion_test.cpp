#include "audio/SampleConversion.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

WaveSamples Header(uint16_t tag, uint16_t channels, uint16_t bits, const std::vector<uint8_t>& bytes) {
    return {tag, channels, 44100, uint16_t(channels * bits / 8), bits, bytes.data(), bytes.size()};
}

std::vector<uint8_t> FloatBytes(std::initializer_list<float> values) {
    std::vector<uint8_t> bytes;
    for (float value : values) {
        const auto* raw = reinterpret_cast<const uint8_t*>(&value);
        bytes.insert(bytes.end(), raw, raw + sizeof value);
    }
    return bytes;
}

struct SampleCase {
    const char* what;
    uint16_t tag;
    uint16_t bits;
    std::vector<uint8_t> bytes;
    std::vector<float> expected;
};

TEST(SampleConversion, EachSampleTypeReadsAsWorkedOutByHand) {
    const float inf = std::numeric_limits<float>::infinity();
    const SampleCase cases[] = {
        {"8-bit unsigned", 1, 8, {0x00, 0x80, 0xFF, 0x40}, {-1.0f, 0.0f, 127 / 128.0f, -0.5f}},
        {"16-bit", 1, 16, {0x00, 0x80, 0xFF, 0x7F, 0x00, 0x40, 0xFF, 0xFF},
         {-1.0f, 32767 / 32768.0f, 0.5f, -1 / 32768.0f}},
        {"24-bit", 1, 24, {0x00, 0x00, 0x80, 0x00, 0x00, 0xC0, 0x01, 0x00, 0x00},
         {-1.0f, -0.5f, 1 / 8388608.0f}},
        {"32-bit", 1, 32, {0x00, 0x00, 0x00, 0x80, 0x00, 0x00, 0x00, 0x40, 0x00, 0x00, 0x00, 0xC0},
         {-1.0f, 0.5f, -0.5f}},
        {"float", 3, 32, FloatBytes({0.25f, -0.75f}), {0.25f, -0.75f}},
        {"float beyond full scale and not numbers", 3, 32,
         FloatBytes({1.5f, -2.0f, std::nanf(""), inf, -inf}), {1.0f, -1.0f, 0.0f, 0.0f, 0.0f}},
        {"extensible 16-bit as PCM", 0xFFFE, 16, {0x00, 0xC0}, {-0.5f}},
        {"extensible 32-bit as integer PCM", 0xFFFE, 32, {0x00, 0x00, 0x00, 0x40}, {0.5f}},
    };
    for (const SampleCase& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedSamples decoded;
        ASSERT_TRUE(DecodeSamples(Header(c.tag, 1, c.bits, c.bytes), 2, 1000, decoded));
        EXPECT_EQ(decoded.channels, 1);
        EXPECT_EQ(decoded.samples, c.expected);
    }
}

struct ChannelCase {
    const char* what;
    uint16_t fileChannels;
    uint16_t streamChannels;
    std::vector<float> expected;  // from one frame of 16-bit values 0.5, -0.25, 0.75, 1/32768...
    uint16_t expectedChannels;
};

TEST(SampleConversion, KeepsTheFrontChannelsOrAveragesForAMonoStream) {
    const std::vector<uint8_t> frame = {0x00, 0x40, 0x00, 0xE0, 0x00, 0x60, 0x01, 0x00};
    const ChannelCase cases[] = {
        {"mono file, stereo stream", 1, 2, {0.5f}, 1},
        {"stereo file, stereo stream", 2, 2, {0.5f, -0.25f}, 2},
        {"stereo file, mono stream", 2, 1, {0.125f}, 1},
        {"four channels, stereo stream", 4, 2, {0.5f, -0.25f}, 2},
        {"four channels, mono stream", 4, 1, {0.125f}, 1},
        {"stereo file, six-channel stream", 2, 6, {0.5f, -0.25f}, 2},
    };
    for (const ChannelCase& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> bytes(frame.begin(), frame.begin() + 2 * c.fileChannels);
        DecodedSamples decoded;
        ASSERT_TRUE(DecodeSamples(Header(1, c.fileChannels, 16, bytes), c.streamChannels, 10,
                                  decoded));
        EXPECT_EQ(decoded.channels, c.expectedChannels);
        EXPECT_EQ(decoded.samples, c.expected);
    }
}

TEST(SampleConversion, KeepsOnlyTheFirstFramesAllowed) {
    const std::vector<uint8_t> bytes = {0x00, 0x40, 0x00, 0xC0, 0x00, 0x20};
    DecodedSamples decoded;
    ASSERT_TRUE(DecodeSamples(Header(1, 1, 16, bytes), 1, 2, decoded));
    EXPECT_EQ(decoded.samples, (std::vector<float>{0.5f, -0.5f}));
}

TEST(SampleConversion, RefusesHeadersThatDoNotDescribeTheBytes) {
    const std::vector<uint8_t> bytes(12, 0);
    const auto with = [&](auto change) {
        WaveSamples samples = Header(1, 2, 16, bytes);
        change(samples);
        return samples;
    };
    const struct {
        const char* what;
        WaveSamples samples;
        uint16_t streamChannels;
    } cases[] = {
        {"no channels", with([](WaveSamples& s) { s.channels = 0; }), 2},
        {"block size not channels times sample size",
         with([](WaveSamples& s) { s.blockAlign = 6; }), 2},
        {"rate zero", with([](WaveSamples& s) { s.sampleRate = 0; }), 2},
        {"absurd rate", with([](WaveSamples& s) { s.sampleRate = 10000000; }), 2},
        {"size not whole frames", with([](WaveSamples& s) { s.size = 10; }), 2},
        {"compressed format", with([](WaveSamples& s) { s.formatTag = 2; }), 2},
        {"12-bit PCM", with([](WaveSamples& s) { s.bitsPerSample = 12; s.blockAlign = 2; }), 2},
        {"64-bit float", with([](WaveSamples& s) { s.formatTag = 3; s.bitsPerSample = 64;
                                                   s.blockAlign = 16; }), 2},
        {"16-bit float", with([](WaveSamples& s) { s.formatTag = 3; }), 2},
        {"no data with a size", with([](WaveSamples& s) { s.data = nullptr; }), 2},
        {"stream without channels", with([](WaveSamples&) {}), 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedSamples decoded;
        EXPECT_FALSE(DecodeSamples(c.samples, c.streamChannels, 100, decoded));
    }
}

}  // namespace
