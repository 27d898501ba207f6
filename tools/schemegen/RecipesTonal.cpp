#include <cmath>

#include "tools/schemegen/Instruments.h"
#include "tools/schemegen/Recipes.h"

namespace schemegen {

namespace {

// Rosewood bar over a tube: the bar is tuned so its overtones sit near 4 and 10 times the
// fundamental; high notes ring shorter.
void MarimbaNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    const double decay = 0.06 * damping * std::pow(440 / hz, 0.3);
    AddModes(out, synth,
             {{hz, amp, decay}, {hz * 3.93, 0.3 * amp, decay / 4}, {hz * 9.2, 0.1 * amp, decay / 9}},
             start, 0.001);
    AddNoise(out, synth, {start, 0.0005, 0.002, 0.08 * amp, 100, 1500});
}

void PianoNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddPianoNote(out, synth, start, hz, amp, 0.08 * damping);
}

void BellNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddFmBell(out, synth, {start, hz, 1.4, 2.5, 0.025, amp, 0.07 * damping});
}

// A glass rod: the free-bar overtone series 1, 2.76, 5.40 gives the glassy, unsettled ring.
void GlassNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddModes(out, synth,
             {{hz, amp, 0.08 * damping}, {hz * 2.756, 0.3 * amp, 0.04 * damping},
              {hz * 5.404, 0.12 * amp, 0.02 * damping}},
             start, 0.0004);
    AddNoise(out, synth, {start, 0.0002, 0.001, 0.1 * amp, 3000, 9000});
}

// A steel tine on a wooden box: the tine's second mode lies near 6 times the fundamental.
void KalimbaNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddModes(out, synth,
             {{hz, amp, 0.07 * damping}, {hz * 2.0, 0.05 * amp, 0.04 * damping},
              {hz * 5.93, 0.25 * amp, 0.015 * damping}},
             start, 0.002);
    AddNoise(out, synth, {start, 0.0005, 0.002, 0.12 * amp, 200, 2000});
}

// A comb tooth plucked by a pin: high, pure and brief, with the pin's tiny tick.
void MusicBoxNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddModes(out, synth, {{hz, amp, 0.06 * damping}, {hz * 6.27, 0.15 * amp, 0.015 * damping}},
             start, 0.0005);
    AddNoise(out, synth, {start, 0.0002, 0.0008, 0.15 * amp, 2000, 8000});
}

// A hammered steel pan note: tuned harmonics, slightly detuned, with a soft onset.
void SteelDrumNote(Samples& out, Synth& synth, double start, double hz, double amp, double damping)
{
    AddModes(out, synth,
             {{hz, amp, 0.07 * damping}, {hz * 2.006, 0.6 * amp, 0.055 * damping},
              {hz * 2.991, 0.35 * amp, 0.035 * damping}, {hz * 4.0, 0.12 * amp, 0.02 * damping}},
             start, 0.003);
    AddNoise(out, synth, {start, 0.0005, 0.002, 0.1 * amp, 300, 3000});
}

}  // namespace

Samples RenderMarimba(const SoundRequest& request, Synth& synth)
{
    return TonalSound(request, synth, {196.0, 0.15, 0.32, MarimbaNote});
}

Samples RenderPiano(const SoundRequest& request, Synth& synth)
{
    return TonalSound(request, synth, {261.63, 0.15, 0.34, PianoNote});
}

Samples RenderBells(const SoundRequest& request, Synth& synth)
{
    Samples out = TonalSound(request, synth, {392.0, 0.15, 0.175, BellNote});
    LowPass(out, synth, 8000);
    return out;
}

Samples RenderGlassChimes(const SoundRequest& request, Synth& synth)
{
    Samples out = TonalSound(request, synth, {349.23, 0.14, 0.175, GlassNote});
    LowPass(out, synth, 7000);
    return out;
}

Samples RenderKalimba(const SoundRequest& request, Synth& synth)
{
    return TonalSound(request, synth, {220.0, 0.15, 0.32, KalimbaNote});
}

Samples RenderMusicBox(const SoundRequest& request, Synth& synth)
{
    return TonalSound(request, synth, {392.0, 0.14, 0.3, MusicBoxNote});
}

Samples RenderSteelDrum(const SoundRequest& request, Synth& synth)
{
    return TonalSound(request, synth, {293.66, 0.15, 0.32, SteelDrumNote});
}

}  // namespace schemegen
