#include "audio/Resampler.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;

std::vector<float> Tone(double hertz, uint32_t rate, size_t frames) {
    std::vector<float> samples(frames);
    for (size_t n = 0; n < frames; ++n) samples[n] = float(std::sin(2 * kPi * hertz * n / rate));
    return samples;
}

std::vector<float> Convert(const Resampler& resampler, const std::vector<float>& in) {
    std::vector<float> out(resampler.OutputFrames(in.size()));
    resampler.Convert(in.data(), in.size(), 1, out.data());
    return out;
}

// Output frames near either end, where the filter reaches past the input.
size_t Margin(const Resampler& resampler) {
    return size_t(resampler.Taps()) * resampler.OutRate() / resampler.InRate() + 1;
}

// Root mean square away from the ends.
double InnerRms(const std::vector<float>& samples, size_t margin) {
    double sum = 0;
    for (size_t n = margin; n + margin < samples.size(); ++n) sum += double(samples[n]) * samples[n];
    return std::sqrt(sum / double(samples.size() - 2 * margin));
}

TEST(Resampler, ATonePassesAsTheSineAtTheNewRate) {
    const struct {
        uint32_t in, out;
        double hertz;
    } cases[] = {
        {44100, 48000, 1000}, {48000, 44100, 1000}, {22050, 48000, 1000}, {8000, 48000, 440},
        {96000, 48000, 3000}, {48000, 22050, 1000}, {11025, 44100, 2000}, {44100, 48000, 12000},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.in << " -> " << c.out << " at " << c.hertz << " Hz");
        const Resampler resampler(c.in, c.out);
        const std::vector<float> out = Convert(resampler, Tone(c.hertz, c.in, c.in / 10));
        const std::vector<float> expected = Tone(c.hertz, c.out, out.size());
        const size_t margin = Margin(resampler);
        double worst = 0;
        for (size_t n = margin; n + margin < out.size(); ++n) {
            worst = std::max(worst, std::fabs(double(out[n]) - expected[n]));
        }
        EXPECT_LT(20 * std::log10(worst), -60.0);
    }
}

// A 20 kHz tone cannot exist at 22.05 kHz; linear interpolation folds it down to 2.05 kHz.
TEST(Resampler, AToneAboveTheNewNyquistIsRemovedWhereInterpolationWouldFoldIt) {
    const std::vector<float> in = Tone(20000, 48000, 4800);
    const Resampler resampler(48000, 22050);
    const std::vector<float> out = Convert(resampler, in);
    std::vector<float> interpolated(out.size());
    for (size_t n = 0; n + 1 < out.size(); ++n) {
        const double at = double(n) * 48000 / 22050;
        const auto whole = size_t(at);
        const double part = at - double(whole);
        interpolated[n] = float(in[whole] * (1 - part) + in[std::min(whole + 1, in.size() - 1)] * part);
    }
    const double inputRms = std::sqrt(0.5);
    const size_t margin = Margin(resampler);
    EXPECT_LT(20 * std::log10(InnerRms(out, margin) / inputRms), -40.0);
    EXPECT_GT(20 * std::log10(InnerRms(interpolated, margin) / inputRms), -10.0);
}

TEST(Resampler, AConstantStaysConstantOnEveryChannel) {
    const std::vector<float> in = {0.5f, -0.25f, 0.5f, -0.25f, 0.5f, -0.25f, 0.5f, -0.25f};
    std::vector<float> longer;
    for (int i = 0; i < 100; ++i) longer.insert(longer.end(), in.begin(), in.end());
    for (const auto& [from, to] : {std::pair{44100u, 48000u}, {48000u, 8000u}, {8000u, 44100u}}) {
        SCOPED_TRACE(testing::Message() << from << " -> " << to);
        const Resampler resampler(from, to);
        const size_t frames = longer.size() / 2;
        std::vector<float> out(resampler.OutputFrames(frames) * 2);
        resampler.Convert(longer.data(), frames, 2, out.data());
        const size_t middle = out.size() / 4 * 2;
        EXPECT_NEAR(out[middle], 0.5f, 1e-5);
        EXPECT_NEAR(out[middle + 1], -0.25f, 1e-5);
    }
}

TEST(Resampler, KeepsTheLengthInTime) {
    const struct {
        uint32_t in, out;
        size_t frames, expected;
    } cases[] = {
        {44100, 48000, 147, 160}, {48000, 44100, 160, 147}, {22050, 48000, 1, 3},
        {44100, 48000, 0, 0},     {768000, 1000, 1, 1},     {1000, 768000, 10, 7680},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Resampler(c.in, c.out).OutputFrames(c.frames), c.expected)
            << c.in << " -> " << c.out << ", " << c.frames << " frames";
    }
}

}  // namespace
