#include <cmath>
#include <utility>

#include "tools/schemegen/Instruments.h"
#include "tools/schemegen/Recipes.h"

namespace schemegen {

namespace {

// An air bubble rings at its resonance, which rises as it nears the surface.
void AddBubble(Samples& out, Synth& synth, double start, double hz, double amp, double decay)
{
    AddGlide(out, synth, {start, hz, hz * 1.8, 0.05, amp, 0.002, decay});
}

// A drop hitting water: a faint impact tick, then the entrained bubble's fast upward chirp,
// heard again off the walls of a sink.
void AddDrop(Samples& out, Synth& synth, double start, double hz, double amp)
{
    AddNoise(out, synth, {start, 0.0002, 0.0008, 0.15 * amp, 2000, 9500});
    for (const auto& [delay, level] : {std::pair{0.002, 1.0}, {0.030, 0.25}, {0.052, 0.1}})
        AddGlide(out, synth, {start + delay, hz, hz * 2.4, 0.012, amp * level, 0.001, 0.025});
}

// A cork or a finger popped out of a mouth: a quick downward pitch sweep.
void AddPop(Samples& out, Synth& synth, double start, double pitch, double amp)
{
    AddGlide(out, synth, {start, 1400 * pitch, 350 * pitch, 0.006, amp, 0.0005, 0.02});
    AddNoise(out, synth, {start, 0.0003, 0.003, 0.3 * amp, 300, 3000});
}

void AddBlip(Samples& out, Synth& synth, double start, double hz, double amp, double decay)
{
    AddGlide(out, synth, {start, hz, hz * 1.5, 0.012, amp, 0.002, decay});
    AddGlide(out, synth, {start, hz * 2, hz * 3, 0.012, 0.2 * amp, 0.002, decay / 2});
}

// A sound chip's noise channel: a 15-bit shift register clocked at `clockHz`.
void AddChipNoise(Samples& out, const Synth& synth, double clockHz, double amp, double decay)
{
    unsigned lfsr = 0x4D2B;  // any non-zero start; a lone set bit would take a while to spread
    double clock = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const double t = static_cast<double>(i) / synth.rate;
        clock += clockHz / synth.rate;
        while (clock >= 1) {
            const unsigned feedback = (lfsr ^ (lfsr >> 1)) & 1u;
            lfsr = (lfsr >> 1) | (feedback << 14);
            clock -= 1;
        }
        const double level = std::floor(15 * std::exp(-t / decay) + 0.5) / 15;
        out[i] += amp * level * ((lfsr & 1u) ? 1.0 : -1.0);
    }
}

void ChipNoteFunction(Samples& out, Synth& synth, double start, double hz, double amp,
                      double damping)
{
    AddChipNote(out, synth, {start, 0.06 * damping + 0.02, hz, 0.25, amp, 0.04 * damping});
}

}  // namespace

Samples RenderBubbles(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.1);
    switch (request.role) {
    case SoundRole::Space:
        out = Blank(synth, 0.14);
        AddBubble(out, synth, 0, 300, 1, 0.05);
        break;
    case SoundRole::Enter:
        out = Blank(synth, 0.22);
        AddBubble(out, synth, 0.00, 700, 0.9, 0.025);
        AddBubble(out, synth, 0.04, 1000, 0.7, 0.025);
        AddBubble(out, synth, 0.08, 550, 1, 0.03);
        AddBubble(out, synth, 0.12, 850, 0.8, 0.03);
        break;
    case SoundRole::Backspace:
        // Played backwards, a bubble sinks.
        AddGlide(out, synth, {0, 900, 550, 0.03, 1, 0.002, 0.03});
        break;
    case SoundRole::Modifier: AddBubble(out, synth, 0, 1500, 1, 0.012); break;
    case SoundRole::Lock:
        AddBubble(out, synth, 0, 1800, 1, 0.012);
        AddBubble(out, synth, 0.025, 2200, 0.8, 0.012);
        break;
    default: AddBubble(out, synth, 0, 600 * LetterPitch(request, 0.5), 1, 0.03); break;
    }
    return out;
}

Samples RenderWaterDrops(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.12);
    switch (request.role) {
    case SoundRole::Space:
        AddDrop(out, synth, 0, 650, 1);
        AddNoise(out, synth, {0, 0.001, 0.02, 0.2, 1000, 6000});
        break;
    case SoundRole::Enter:
        out = Blank(synth, 0.22);
        AddDrop(out, synth, 0, 1300, 0.8);
        AddDrop(out, synth, 0.08, 900, 1);
        break;
    case SoundRole::Backspace:
        AddGlide(out, synth, {0, 1800, 1100, 0.01, 1, 0.001, 0.025});
        break;
    case SoundRole::Modifier: AddDrop(out, synth, 0, 1500, 0.6); break;
    case SoundRole::Lock:
        AddDrop(out, synth, 0, 1500, 0.8);
        AddDrop(out, synth, 0.03, 1900, 0.6);
        break;
    default: AddDrop(out, synth, 0, 1100 * LetterPitch(request, 0.4), 1); break;
    }
    return out;
}

Samples RenderPop(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.06);
    switch (request.role) {
    case SoundRole::Space:
        // A cork, and the fizz after it.
        out = Blank(synth, 0.12);
        AddPop(out, synth, 0, 0.55, 1);
        AddNoise(out, synth, {0, 0.005, 0.05, 0.12, 3000, 9000});
        break;
    case SoundRole::Enter:
        out = Blank(synth, 0.15);
        AddPop(out, synth, 0, 1.0, 1);
        AddPop(out, synth, 0.07, 1.3, 1);
        break;
    case SoundRole::Backspace:
        AddGlide(out, synth, {0, 300, 900, 0.01, 1, 0.0005, 0.02});
        break;
    case SoundRole::Modifier: AddNoise(out, synth, {0, 0.0005, 0.004, 1, 200, 1200}); break;
    case SoundRole::Lock: AddPop(out, synth, 0, 1.8, 1); break;
    default: AddPop(out, synth, 0, LetterPitch(request, 0.3), 1); break;
    }
    return out;
}

Samples RenderRetro8Bit(const SoundRequest& request, Synth& synth)
{
    const TonalVoice chip = {392.0, 0.1, 0.25, ChipNoteFunction};
    Samples out = Blank(synth, 0.1);
    switch (request.role) {
    case SoundRole::Space:
        AddChipNoise(out, synth, 4000, 0.5, 0.03);
        LowPass(out, synth, 3000);
        break;
    case SoundRole::Enter:
        // The coin: a short B5, then a ringing E6.
        out = Blank(synth, 0.25);
        AddChipNote(out, synth, {0, 0.05, 987.77, 0.5, 1, 1});
        AddChipNote(out, synth, {0.05, 0.2, 1318.51, 0.5, 1, 0.08});
        break;
    case SoundRole::Backspace:
        for (int i = 0; i < 3; ++i)
            AddChipNote(out, synth,
                        {0.02 * i, 0.02, PentatonicHz(chip.rootHz, 7 - 3 * i), 0.125, 1, 0.1});
        break;
    default: return TonalSound(request, synth, chip);
    }
    return out;
}

Samples RenderSciFiBlips(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.09);
    switch (request.role) {
    case SoundRole::Space:
        // A soft whoosh downwards.
        out = Blank(synth, 0.12);
        AddGlide(out, synth, {0, 1200, 300, 0.03, 1, 0.002, 0.05});
        AddNoise(out, synth, {0, 0.01, 0.03, 0.3, 500, 3000});
        break;
    case SoundRole::Enter:
        // "Confirmed": two rising blips.
        out = Blank(synth, 0.2);
        AddBlip(out, synth, 0, 880, 1, 0.03);
        AddBlip(out, synth, 0.07, 1320, 1, 0.06);
        break;
    case SoundRole::Backspace:
        AddGlide(out, synth, {0, 1000, 600, 0.01, 1, 0.002, 0.03});
        break;
    case SoundRole::Modifier: AddGlide(out, synth, {0, 400, 450, 0.01, 1, 0.002, 0.015}); break;
    case SoundRole::Lock:
        AddGlide(out, synth, {0, 1500, 1500, 1, 1, 0.002, 0.02});
        AddGlide(out, synth, {0.03, 2000, 2000, 1, 1, 0.002, 0.02});
        break;
    default: AddBlip(out, synth, 0, 800 * LetterPitch(request, 0.4), 1, 0.03); break;
    }
    return out;
}

}  // namespace schemegen
