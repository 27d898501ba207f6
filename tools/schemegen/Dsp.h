#pragma once
#include <cstddef>
#include <vector>

namespace schemegen {

// Sample values in [-1, 1]; interleaved when a sound has more than one channel.
using Samples = std::vector<double>;

constexpr double kPi = 3.14159265358979323846;

size_t FramesFor(double sampleRate, double seconds);

// Second-order section from the RBJ audio-EQ cookbook, direct form I.
class Biquad {
public:
    static Biquad LowPass(double sampleRate, double cutoffHz, double q);
    static Biquad HighPass(double sampleRate, double cutoffHz, double q);

    double Step(double x);
    void Process(Samples& mono);

private:
    Biquad(double b0, double b1, double b2, double a0, double a1, double a2);
    double b0_, b1_, b2_, a1_, a2_;
    double x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// Half-cosine ramps at both ends, so playback neither starts nor stops with a step.
void ApplyFades(Samples& interleaved, int channels, size_t fadeInFrames, size_t fadeOutFrames);

// Drops the tail once the sound has decayed below `floorRatio` of its peak, keeping at
// least `minFrames` frames.
void TrimTail(Samples& interleaved, int channels, double floorRatio, size_t minFrames);

double PeakOf(const Samples& samples);

// Loudness measure shared by the normaliser: the RMS over the sounding part, which runs
// from the first to the last frame whose magnitude reaches a tenth (-20 dB) of the peak.
// Leading and trailing quiet parts would otherwise make long and short sounds incomparable.
double SoundingRms(const Samples& interleaved, int channels);

void Scale(Samples& samples, double gain);

double DbToGain(double db);

}  // namespace schemegen
