#include "audio/Resampler.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr unsigned kPhases = 256;       // tabulated fractional positions per input sample
constexpr unsigned kBaseTaps = 32;      // filter length when the rate goes up
constexpr unsigned kMostTaps = 256;     // bound for extreme down-conversions
constexpr double kCutoff = 0.9;         // of the lower Nyquist frequency
constexpr double kKaiserBeta = 8.0;     // about 80 dB of stop-band attenuation
constexpr double kPi = 3.14159265358979323846;

// The modified Bessel function of the first kind, order zero, by its power series.
double BesselI0(double x) {
    double sum = 1.0;
    double term = 1.0;
    for (int k = 1; k < 64 && term > sum * 1e-17; ++k) {
        const double half = x / (2.0 * k);
        term *= half * half;
        sum += term;
    }
    return sum;
}

}  // namespace

Resampler::Resampler(uint32_t inRate, uint32_t outRate) : inRate_(inRate), outRate_(outRate) {
    // Going down, the filter must reach as many input samples as 32 output samples span.
    const double ratio = std::min(1.0, double(outRate) / double(inRate));
    const auto wanted = unsigned(std::ceil(kBaseTaps / ratio));
    taps_ = std::min(kMostTaps, (wanted + 1) & ~1u);
    const double cutoff = 0.5 * ratio * kCutoff;  // cycles per input sample
    const double half = taps_ / 2.0;
    const double windowScale = 1.0 / BesselI0(kKaiserBeta);

    table_.resize(size_t(kPhases + 1) * taps_);
    for (unsigned phase = 0; phase <= kPhases; ++phase) {
        float* row = &table_[size_t(phase) * taps_];
        double sum = 0.0;
        for (unsigned k = 0; k < taps_; ++k) {
            // Distance from the output instant back to input sample k of the window.
            const double t = double(phase) / kPhases + (half - 1.0) - k;
            const double x = 2.0 * cutoff * t;
            const double sinc = x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
            const double edge = t / half;
            const double window =
                edge * edge >= 1.0
                    ? 0.0
                    : BesselI0(kKaiserBeta * std::sqrt(1.0 - edge * edge)) * windowScale;
            const double value = 2.0 * cutoff * sinc * window;
            row[k] = float(value);
            sum += value;
        }
        // Unity gain at every position, so a constant stays constant.
        for (unsigned k = 0; k < taps_; ++k) row[k] = float(row[k] / sum);
    }
}

size_t Resampler::OutputFrames(size_t inFrames) const {
    return size_t((uint64_t(inFrames) * outRate_ + inRate_ - 1) / inRate_);
}

void Resampler::Convert(const float* in, size_t inFrames, unsigned channels, float* out) const {
    const size_t outFrames = OutputFrames(inFrames);
    std::vector<float> coefficients(taps_);
    const auto before = ptrdiff_t(taps_ / 2 - 1);
    for (size_t n = 0; n < outFrames; ++n) {
        // The output instant in input frames, exactly: whole part and remainder.
        const uint64_t position = uint64_t(n) * inRate_;
        const auto whole = ptrdiff_t(position / outRate_);
        const double place = double(position % outRate_) * kPhases / outRate_;
        const auto phase = unsigned(place);
        const auto fraction = float(place - phase);
        const float* low = &table_[size_t(phase) * taps_];
        const float* high = low + taps_;
        for (unsigned k = 0; k < taps_; ++k) {
            coefficients[k] = low[k] + (high[k] - low[k]) * fraction;
        }

        const ptrdiff_t first = whole - before;
        const auto kFirst = size_t(std::max<ptrdiff_t>(0, -first));
        const auto kEnd = size_t(std::clamp<ptrdiff_t>(ptrdiff_t(inFrames) - first, 0, taps_));
        for (unsigned channel = 0; channel < channels; ++channel) {
            float sum = 0.0f;
            const float* source = in + channel;
            for (size_t k = kFirst; k < kEnd; ++k) {
                sum += coefficients[k] * source[size_t(first + ptrdiff_t(k)) * channels];
            }
            out[n * channels + channel] = sum;
        }
    }
}
