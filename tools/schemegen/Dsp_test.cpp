#include "tools/schemegen/Dsp.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "tools/schemegen/KeyLayout.h"
#include "tools/schemegen/Voices.h"

namespace schemegen {
namespace {

Samples Sine(double rate, double hz, double seconds, double amp)
{
    Samples s(FramesFor(rate, seconds));
    for (size_t i = 0; i < s.size(); ++i)
        s[i] = amp * std::sin(2 * kPi * hz * static_cast<double>(i) / rate);
    return s;
}

double Rms(const Samples& s)
{
    double sum = 0;
    for (double v : s)
        sum += v * v;
    return std::sqrt(sum / static_cast<double>(s.size()));
}

TEST(SoundingRms, IgnoresQuietLeadAndTailButNotQuietMiddle)
{
    const Samples tone = Sine(8000, 500, 0.1, 0.5);
    Samples padded(400, 0.0);
    padded.insert(padded.end(), tone.begin(), tone.end());
    padded.insert(padded.end(), 1200, 0.001);  // a tail below a tenth of the peak
    EXPECT_NEAR(SoundingRms(padded, 1), 0.5 / std::sqrt(2.0), 0.002);

    // A gap inside the sounding part counts: two bursts with silence between them are
    // quieter than one continuous tone.
    Samples gapped = tone;
    gapped.insert(gapped.end(), tone.size(), 0.0);
    gapped.insert(gapped.end(), tone.begin(), tone.end());
    EXPECT_NEAR(SoundingRms(gapped, 1), 0.5 / std::sqrt(2.0) * std::sqrt(2.0 / 3.0), 0.003);

    EXPECT_EQ(SoundingRms(Samples(100, 0.0), 1), 0.0);
    EXPECT_EQ(SoundingRms(Samples(), 1), 0.0);
}

TEST(SoundingRms, StereoFrameIsLoudWhenEitherChannelIs)
{
    // Left silent, right a tone: every frame sounds; the RMS is over both channels.
    const Samples tone = Sine(8000, 500, 0.05, 0.8);
    Samples stereo;
    for (double v : tone) {
        stereo.push_back(0);
        stereo.push_back(v);
    }
    EXPECT_NEAR(SoundingRms(stereo, 2), 0.8 / 2, 0.003);
}

TEST(ApplyFades, EndsReachZeroAndTheMiddleIsUntouched)
{
    for (int channels : {1, 2}) {
        Samples s(200 * channels, 0.7);
        ApplyFades(s, channels, 10, 30);
        for (int c = 0; c < channels; ++c) {
            EXPECT_EQ(s[c], 0.0);
            EXPECT_NEAR(s[(199) * channels + c], 0.0, 1e-12);
            EXPECT_EQ(s[100 * channels + c], 0.7);
            EXPECT_GT(s[5 * channels + c], 0.0);
            EXPECT_LT(s[5 * channels + c], 0.7);
        }
        for (size_t i = channels; i < 10u * channels; ++i)
            EXPECT_LE(s[i - channels], s[i]) << "fade-in rises monotonically";
    }
    // Fades longer than the sound share it instead of running past its ends.
    Samples tiny(6, 1.0);
    ApplyFades(tiny, 1, 100, 100);
    EXPECT_EQ(tiny.front(), 0.0);
    EXPECT_NEAR(tiny.back(), 0.0, 1e-12);
}

TEST(TrimTail, CutsDecayBelowFloorButKeepsMinimum)
{
    Samples s(1000, 0.0);
    s[0] = 1.0;
    s[300] = 0.01;  // last sample above a floor of 0.005
    Samples cut = s;
    TrimTail(cut, 1, 0.005, 10);
    EXPECT_EQ(cut.size(), 301u);

    Samples keep = s;
    TrimTail(keep, 1, 0.05, 500);
    EXPECT_EQ(keep.size(), 500u);
}

TEST(Biquad, FiltersPassTheirBandAndStopTheRest)
{
    struct Case {
        const char* what;
        Biquad filter;
        double hz;
        double minGain;
        double maxGain;
    };
    const double rate = 44100;
    const Case cases[] = {
        {"low pass, pass band", Biquad::LowPass(rate, 2000, 0.707), 200, 0.97, 1.03},
        {"low pass, stop band", Biquad::LowPass(rate, 2000, 0.707), 16000, 0.0, 0.03},
        {"high pass, pass band", Biquad::HighPass(rate, 2000, 0.707), 16000, 0.97, 1.03},
        {"high pass, stop band", Biquad::HighPass(rate, 2000, 0.707), 200, 0.0, 0.02},
        // A corner above Nyquist is pulled below it instead of making the filter unstable.
        {"corner above Nyquist", Biquad::LowPass(11025, 9000, 0.707), 500, 0.97, 1.03},
    };
    for (Case c : cases) {
        SCOPED_TRACE(c.what);
        Samples s = Sine(rate, c.hz, 0.5, 1.0);
        c.filter.Process(s);
        const Samples settled(s.begin() + static_cast<long>(s.size() / 2), s.end());
        const double gain = Rms(settled) / (1 / std::sqrt(2.0));
        EXPECT_GE(gain, c.minGain);
        EXPECT_LE(gain, c.maxGain);
    }
}

TEST(PentatonicHz, DegreesFollowTheMajorPentatonicAcrossOctaves)
{
    const struct {
        int degree;
        double semitones;
    } cases[] = {{0, 0}, {1, 2}, {2, 4}, {3, 7}, {4, 9}, {5, 12}, {7, 16}, {-1, -3}, {-5, -12}, {-6, -15}};
    for (const auto& c : cases)
        EXPECT_NEAR(PentatonicHz(440, c.degree), 440 * std::pow(2.0, c.semitones / 12), 1e-9)
            << "degree " << c.degree;
}

TEST(KeyLayout, LetterDegreesRiseAlongRowsAndUpTheKeyboard)
{
    const struct {
        char letter;
        int degree;
    } cases[] = {{'Z', 0}, {'M', 6}, {'A', 2}, {'L', 10}, {'Q', 4}, {'P', 13}, {'q', 4}};
    for (const auto& c : cases)
        EXPECT_EQ(LetterDegree(c.letter), c.degree) << c.letter;
    EXPECT_EQ(DigitDegree(1), 6);
    EXPECT_EQ(DigitDegree(0), 15);
    std::set<int> used;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        used.insert(LetterDegree(letter));
    EXPECT_EQ(used.size(), 14u) << "rows overlap, but each covers its own stretch";
}

TEST(KeyLayout, PansStayWithinRangeAndFollowTheColumn)
{
    EXPECT_LT(LetterPan('Q'), LetterPan('P'));
    EXPECT_LT(LetterPan('A'), 0.0);
    EXPECT_GT(LetterPan('L'), 0.0);
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        EXPECT_GE(LetterPan(letter), -0.6) << letter;
        EXPECT_LE(LetterPan(letter), 0.6) << letter;
    }
}

TEST(KeyLayout, KeyListsHaveNoDuplicates)
{
    std::set<std::string> names;
    size_t total = 0;
    for (const NamedKey& key : SingleKeys()) {
        names.insert(key.name);
        ++total;
    }
    for (const std::string& key : DigitKeyNames()) {
        names.insert(key);
        ++total;
    }
    for (const std::string& key : FunctionKeyNames()) {
        names.insert(key);
        ++total;
    }
    EXPECT_EQ(names.size(), total);
    EXPECT_EQ(DigitKeyNames().size(), 20u);
    EXPECT_EQ(FunctionKeyNames().front(), "F1");
    EXPECT_EQ(FunctionKeyNames().back(), "F24");
}

}  // namespace
}  // namespace schemegen
