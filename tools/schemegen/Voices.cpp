#include "tools/schemegen/Voices.h"

#include <algorithm>
#include <cmath>

namespace schemegen {

namespace {

bool Audible(const Synth& synth, double hz)
{
    return hz > 0 && hz < 0.45 * synth.rate;
}

// 1 - e^(-t/attack): a smooth onset instead of a step in the slope.
double Onset(double t, double attack)
{
    return attack > 0 ? 1 - std::exp(-t / attack) : 1.0;
}

}  // namespace

Samples Blank(const Synth& synth, double seconds)
{
    return Samples(FramesFor(synth.rate, seconds), 0.0);
}

void AddModes(Samples& out, const Synth& synth, const std::vector<Mode>& modes, double start,
              double attack)
{
    const size_t first = FramesFor(synth.rate, start);
    // Recurrences instead of sin and exp per sample: a rotating phasor that shrinks by the
    // decay factor each step. Over a few thousand samples the rounding drift is far below
    // the 16-bit step.
    const double onsetStep = attack > 0 ? std::exp(-1 / (attack * synth.rate)) : 0.0;
    for (const Mode& m : modes) {
        if (!Audible(synth, m.hz))
            continue;
        const double w = 2 * kPi * m.hz / synth.rate;
        const double shrink = std::exp(-1 / (m.decay * synth.rate));
        const double cw = std::cos(w) * shrink;
        const double sw = std::sin(w) * shrink;
        double re = m.amp, im = 0;  // amplitude times (cos, sin) of the phase
        double onsetRemainder = 1;  // e^(-t/attack)
        for (size_t i = first; i < out.size(); ++i) {
            out[i] += (1 - onsetRemainder) * im;
            const double nextRe = re * cw - im * sw;
            im = im * cw + re * sw;
            re = nextRe;
            onsetRemainder *= onsetStep;
        }
    }
}

void AddNoise(Samples& out, Synth& synth, const NoiseBurst& burst)
{
    const size_t first = FramesFor(synth.rate, burst.start);
    if (first >= out.size())
        return;
    Samples noise(out.size() - first);
    for (size_t i = 0; i < noise.size(); ++i) {
        const double t = static_cast<double>(i) / synth.rate;
        noise[i] = synth.rng.Bipolar() * Onset(t, burst.attack) * std::exp(-t / burst.decay);
    }
    if (burst.lowHz > 0) {
        // Two sections for a steeper skirt: a noise click is harsh mostly through its edges.
        Biquad::HighPass(synth.rate, burst.lowHz, 0.707).Process(noise);
        Biquad::HighPass(synth.rate, burst.lowHz, 0.707).Process(noise);
    }
    if (burst.highHz > 0) {
        Biquad::LowPass(synth.rate, burst.highHz, 0.707).Process(noise);
        Biquad::LowPass(synth.rate, burst.highHz, 0.707).Process(noise);
    }
    for (size_t i = 0; i < noise.size(); ++i)
        out[first + i] += burst.amp * noise[i];
}

void AddGlide(Samples& out, const Synth& synth, const Glide& glide)
{
    const size_t first = FramesFor(synth.rate, glide.start);
    // Both ends stay below Nyquist, so the pitch path never has to be cut off mid-sound.
    const double highest = 0.45 * synth.rate;
    const double fromHz = std::min(glide.fromHz, highest);
    const double toHz = std::min(glide.toHz, highest);
    double phase = 0;
    for (size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / synth.rate;
        const double hz = toHz + (fromHz - toHz) * std::exp(-t / glide.glideTime);
        out[i] += glide.amp * Onset(t, glide.attack) * std::exp(-t / glide.decay) *
                  std::sin(phase);
        phase += 2 * kPi * hz / synth.rate;
    }
}

void AddFmBell(Samples& out, const Synth& synth, const FmBell& bell)
{
    // The sidebands reach about (index + 1) modulator widths; lower the index where they
    // would fold over Nyquist.
    const double modHz = bell.carrierHz * bell.ratio;
    const double room = (0.45 * synth.rate - bell.carrierHz) / modHz - 1;
    const double index = std::clamp(room, 0.0, bell.index);
    const size_t first = FramesFor(synth.rate, bell.start);
    for (size_t i = first; i < out.size(); ++i) {
        const double t = static_cast<double>(i - first) / synth.rate;
        const double depth = index * std::exp(-t / bell.indexDecay);
        const double mod = depth * std::sin(2 * kPi * modHz * t);
        out[i] += bell.amp * Onset(t, 0.0008) * std::exp(-t / bell.decay) *
                  std::sin(2 * kPi * bell.carrierHz * t + mod);
    }
}

void AddChipNote(Samples& out, const Synth& synth, const ChipNote& note)
{
    const size_t first = FramesFor(synth.rate, note.start);
    const size_t last = std::min(out.size(), first + FramesFor(synth.rate, note.length));
    std::vector<double> harmonics;
    for (int n = 1; Audible(synth, n * note.hz); ++n)
        harmonics.push_back(2 / (n * kPi) * std::sin(n * kPi * note.duty));
    for (size_t i = first; i < last; ++i) {
        const double t = static_cast<double>(i - first) / synth.rate;
        // Sixteen volume steps, as a chip's envelope counter gives; 2 ms ramps at the gate's
        // edges keep it from clicking.
        const double gate = std::min({1.0, t / 0.002, (note.length - t) / 0.002});
        const double level = gate * std::floor(15 * std::exp(-t / note.decay) + 0.5) / 15;
        double v = 0;
        for (size_t n = 0; n < harmonics.size(); ++n)
            v += harmonics[n] * std::cos(2 * kPi * (n + 1) * note.hz * t);
        out[i] += note.amp * level * v;
    }
}

void AddPianoNote(Samples& out, Synth& synth, double start, double hz, double amp, double decay)
{
    constexpr double kInharmonicity = 0.0004;
    std::vector<Mode> partials;
    for (int n = 1; n <= 14; ++n) {
        const double f = n * hz * std::sqrt(1 + kInharmonicity * n * n);
        // A felt hammer excites the low partials most; high partials die quickly.
        const double a = amp * std::pow(n, -1.3) * (n == 1 ? 1.0 : 0.8);
        const double d = decay / (1 + 0.35 * (n - 1));
        partials.push_back({f * 0.9993, a * 0.5, d});
        partials.push_back({f * 1.0007, a * 0.5, d * 1.15});
    }
    AddModes(out, synth, partials, start, 0.0015);
    AddNoise(out, synth, {start, 0.0005, 0.004, amp * 0.08, 60, 900});
}

void LowPass(Samples& out, const Synth& synth, double hz)
{
    Biquad::LowPass(synth.rate, hz, 0.707).Process(out);
}

double PentatonicHz(double rootHz, int degree)
{
    static const int kSteps[] = {0, 2, 4, 7, 9};
    constexpr int kCount = static_cast<int>(sizeof kSteps / sizeof kSteps[0]);
    const int octave = degree >= 0 ? degree / kCount : -((-degree + kCount - 1) / kCount);
    const int semitones = 12 * octave + kSteps[degree - octave * kCount];
    return rootHz * std::pow(2.0, semitones / 12.0);
}

double VariantFactor(int variant, int count, double spread)
{
    if (count <= 1)
        return 1.0;
    return 1 + spread * (static_cast<double>(variant) / (count - 1) - 0.5);
}

double RolePitch(SoundRole role)
{
    switch (role) {
    case SoundRole::Letter: return 1.0;
    case SoundRole::Digit: return 1.06;
    case SoundRole::Punctuation: return 0.95;
    case SoundRole::Space: return 0.72;
    case SoundRole::Enter: return 0.62;
    case SoundRole::Backspace: return 0.85;
    case SoundRole::Tab: return 0.9;
    case SoundRole::Escape: return 1.12;
    case SoundRole::Navigation: return 1.03;
    case SoundRole::Function: return 0.93;
    case SoundRole::Modifier: return 0.8;
    case SoundRole::Lock: return 1.18;
    }
    return 1.0;
}

double LetterPitch(const SoundRequest& request, double spread)
{
    return request.role == SoundRole::Letter
               ? VariantFactor(request.index, request.count, spread)
               : RolePitch(request.role);
}

}  // namespace schemegen
