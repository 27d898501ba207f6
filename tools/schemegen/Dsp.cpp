#include "tools/schemegen/Dsp.h"

#include <algorithm>
#include <cmath>

namespace schemegen {

size_t FramesFor(double sampleRate, double seconds)
{
    if (seconds <= 0)
        return 0;
    return static_cast<size_t>(std::lround(sampleRate * seconds));
}

Biquad::Biquad(double b0, double b1, double b2, double a0, double a1, double a2)
    : b0_(b0 / a0), b1_(b1 / a0), b2_(b2 / a0), a1_(a1 / a0), a2_(a2 / a0)
{
}

namespace {

// Keeps a requested corner below Nyquist, so a recipe written for 44.1 kHz stays stable at
// 11.025 kHz.
double SafeCorner(double sampleRate, double hz)
{
    return std::clamp(hz, 10.0, 0.45 * sampleRate);
}

}  // namespace

Biquad Biquad::LowPass(double sampleRate, double cutoffHz, double q)
{
    const double w = 2 * kPi * SafeCorner(sampleRate, cutoffHz) / sampleRate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    return Biquad((1 - c) / 2, 1 - c, (1 - c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

Biquad Biquad::HighPass(double sampleRate, double cutoffHz, double q)
{
    const double w = 2 * kPi * SafeCorner(sampleRate, cutoffHz) / sampleRate;
    const double alpha = std::sin(w) / (2 * q);
    const double c = std::cos(w);
    return Biquad((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

double Biquad::Step(double x)
{
    const double y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

void Biquad::Process(Samples& mono)
{
    for (double& v : mono)
        v = Step(v);
}

void ApplyFades(Samples& interleaved, int channels, size_t fadeInFrames, size_t fadeOutFrames)
{
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    fadeInFrames = std::min(fadeInFrames, frames / 2);
    fadeOutFrames = std::min(fadeOutFrames, frames / 2);
    for (size_t i = 0; i < fadeInFrames; ++i) {
        const double g = 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / fadeInFrames);
        for (int c = 0; c < channels; ++c)
            interleaved[i * channels + c] *= g;
    }
    for (size_t i = 0; i < fadeOutFrames; ++i) {
        // i counts back from the last frame, which ends exactly at zero.
        const double g = 0.5 - 0.5 * std::cos(kPi * static_cast<double>(i) / fadeOutFrames);
        const size_t frame = frames - 1 - i;
        for (int c = 0; c < channels; ++c)
            interleaved[frame * channels + c] *= g;
    }
}

void TrimTail(Samples& interleaved, int channels, double floorRatio, size_t minFrames)
{
    const double floor = PeakOf(interleaved) * floorRatio;
    size_t frames = interleaved.size() / static_cast<size_t>(channels);
    while (frames > minFrames) {
        bool quiet = true;
        for (int c = 0; c < channels; ++c)
            quiet = quiet && std::fabs(interleaved[(frames - 1) * channels + c]) < floor;
        if (!quiet)
            break;
        --frames;
    }
    interleaved.resize(frames * static_cast<size_t>(channels));
}

double PeakOf(const Samples& samples)
{
    double peak = 0;
    for (double v : samples)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

double SoundingRms(const Samples& interleaved, int channels)
{
    const size_t frames = interleaved.size() / static_cast<size_t>(channels);
    const double threshold = PeakOf(interleaved) / 10;
    if (frames == 0 || threshold <= 0)
        return 0;
    auto loud = [&](size_t frame) {
        for (int c = 0; c < channels; ++c)
            if (std::fabs(interleaved[frame * channels + c]) >= threshold)
                return true;
        return false;
    };
    size_t first = 0;
    while (!loud(first))
        ++first;
    size_t last = frames - 1;
    while (!loud(last))
        --last;
    double sum = 0;
    for (size_t i = first * channels; i < (last + 1) * channels; ++i)
        sum += interleaved[i] * interleaved[i];
    return std::sqrt(sum / static_cast<double>((last + 1 - first) * channels));
}

void Scale(Samples& samples, double gain)
{
    for (double& v : samples)
        v *= gain;
}

double DbToGain(double db)
{
    return std::pow(10.0, db / 20.0);
}

}  // namespace schemegen
