#include "tools/schemegen/Recipes.h"
#include "tools/schemegen/Voices.h"

namespace schemegen {

namespace {

// A hollow hardwood block: a strong fundamental and two inharmonic overtones that die fast.
void AddWoodBlock(Samples& out, Synth& synth, double start, double hz, double amp, double ring)
{
    AddModes(out, synth,
             {{hz, amp, 0.045 * ring}, {hz * 2.57, 0.35 * amp, 0.02 * ring},
              {hz * 4.1, 0.15 * amp, 0.01 * ring}},
             start, 0.0003);
    AddNoise(out, synth, {start, 0.0002, 0.0015, 0.25 * amp, hz, hz * 3});
}

void AddHat(Samples& out, Synth& synth, double start, double amp, double decay)
{
    AddNoise(out, synth, {start, 0.0003, decay, amp, 3500, 7000});
    AddModes(out, synth, {{3900, 0.08 * amp, decay}, {5870, 0.06 * amp, decay}}, start, 0.0003);
}

void AddSnare(Samples& out, Synth& synth, double start, double amp)
{
    AddModes(out, synth, {{190, 0.5 * amp, 0.030}, {330, 0.3 * amp, 0.020}}, start, 0.0008);
    AddNoise(out, synth, {start, 0.0005, 0.028, 0.5 * amp, 1200, 6000});
}

void AddTom(Samples& out, Synth& synth, double start, double hz, double amp)
{
    AddGlide(out, synth, {start, hz * 1.35, hz, 0.02, amp, 0.001, 0.09});
    AddNoise(out, synth, {start, 0.0003, 0.003, 0.15 * amp, 300, 3000});
}

void AddKick(Samples& out, Synth& synth)
{
    // The beater's click carries the kick on small speakers that cannot play its boom.
    AddGlide(out, synth, {0, 160, 60, 0.03, 1, 0.001, 0.12});
    AddNoise(out, synth, {0, 0.0002, 0.003, 0.5, 800, 4000});
    AddModes(out, synth, {{1400, 0.15, 0.006}}, 0, 0.0002);
}

void AddCrash(Samples& out, Synth& synth)
{
    AddNoise(out, synth, {0, 0.0005, 0.09, 0.6, 3000, 8000});
    AddModes(out, synth,
             {{3400, 0.1, 0.08}, {5120, 0.08, 0.07}, {6710, 0.06, 0.06}, {8290, 0.04, 0.05}},
             0, 0.0005);
    AddGlide(out, synth, {0, 420, 400, 0.05, 0.15, 0.001, 0.06});
}

void AddRim(Samples& out, Synth& synth, double start, double amp)
{
    AddModes(out, synth, {{1650, 0.5 * amp, 0.010}, {520, 0.4 * amp, 0.020}}, start, 0.0002);
    AddNoise(out, synth, {start, 0.0002, 0.0015, 0.3 * amp, 1000, 7000});
}

// A clock's escapement: a short metallic tick; tocks are the same at a lower pitch.
void AddTick(Samples& out, Synth& synth, double start, double pitch, double amp)
{
    AddNoise(out, synth, {start, 0.0002, 0.0015, 0.6 * amp, 1800 * pitch, 6000});
    AddModes(out, synth,
             {{2600 * pitch, 0.5 * amp, 0.006}, {3900 * pitch, 0.3 * amp, 0.004},
              {1600 * pitch, 0.3 * amp, 0.008}},
             start, 0.0002);
}

// A chime rod struck by the clock's hammer.
void AddChime(Samples& out, Synth& synth, double start, double hz)
{
    AddModes(out, synth, {{hz, 0.8, 0.10}, {hz * 2.76, 0.25, 0.05}, {hz * 5.40, 0.1, 0.03}},
             start, 0.0005);
}

// Two stones knocking: a bright click, and a smaller one as the stone bounces.
void AddPebble(Samples& out, Synth& synth, double start, double pitch, double amp, bool bounce)
{
    AddModes(out, synth,
             {{2600 * pitch, 0.6 * amp, 0.004}, {4100 * pitch, 0.4 * amp, 0.003},
              {1700 * pitch, 0.3 * amp, 0.006}},
             start, 0.0002);
    AddNoise(out, synth, {start, 0.0002, 0.001, 0.4 * amp, 1500, 8000});
    if (bounce)
        AddPebble(out, synth, start + 0.012 + 0.008 * pitch, pitch * 1.1, amp * 0.4, false);
}

// A fingertip on a wooden desk: a soft impact exciting the low modes of the board.
void AddTap(Samples& out, Synth& synth, double start, double pitch, double amp, double ring)
{
    AddNoise(out, synth, {start, 0.0008, 0.004, 0.8 * amp, 80, 1800});
    AddModes(out, synth,
             {{190 * pitch, 0.6 * amp, 0.025 * ring}, {430 * pitch, 0.4 * amp, 0.018 * ring},
              {760 * pitch, 0.25 * amp, 0.012 * ring}, {1250 * pitch, 0.1 * amp, 0.008 * ring}},
             start, 0.001);
}

}  // namespace

Samples RenderWoodBlocks(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.11);
    const double hz = 900 * LetterPitch(request, 0.3);
    switch (request.role) {
    case SoundRole::Enter:
        // A high block then a low one: "tok-tok".
        out = Blank(synth, 0.15);
        AddWoodBlock(out, synth, 0, 1150, 0.8, 1);
        AddWoodBlock(out, synth, 0.06, 620, 1, 1.3);
        break;
    case SoundRole::Space: AddWoodBlock(out, synth, 0, 480, 1, 1.4); break;
    case SoundRole::Backspace:
        AddWoodBlock(out, synth, 0, 760, 0.7, 0.7);
        AddWoodBlock(out, synth, 0.035, 640, 1, 0.8);
        break;
    case SoundRole::Modifier: AddWoodBlock(out, synth, 0, 560, 1, 0.4); break;
    case SoundRole::Lock: AddWoodBlock(out, synth, 0, 1500, 1, 0.5); break;
    default: AddWoodBlock(out, synth, 0, hz, 1, 1); break;
    }
    return out;
}

// The smallest block, above every key's: a dry "tik", lower for each further button.
Samples RenderWoodBlocksMouse(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.06);
    AddWoodBlock(out, synth, 0, 1900 * (1.0 - 0.08 * request.index), 0.8, 0.5);
    return out;
}

// A stick laid across the snare's rim: the drummer's quietest stroke.
Samples RenderDrumKitMouse(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.05);
    AddRim(out, synth, 0, 0.7 - 0.1 * request.index);
    return out;
}

Samples RenderDrumKit(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.12);
    switch (request.role) {
    case SoundRole::Letter:
        // Letters play around the kit: hats, ghost notes on the snare, a rim click, a tom.
        switch (request.index % 6) {
        case 0: AddHat(out, synth, 0, 1, 0.012); break;
        case 1: AddHat(out, synth, 0, 1, 0.020); break;
        case 2: AddSnare(out, synth, 0, 1); break;
        case 3: AddSnare(out, synth, 0.0, 0.5); AddSnare(out, synth, 0.02, 1); break;
        case 4: AddRim(out, synth, 0, 1); break;
        default: AddTom(out, synth, 0, 260, 1); break;
        }
        break;
    case SoundRole::Space: out = Blank(synth, 0.15); AddKick(out, synth); break;
    case SoundRole::Enter: out = Blank(synth, 0.3); AddCrash(out, synth); break;
    case SoundRole::Backspace: out = Blank(synth, 0.15); AddTom(out, synth, 0, 150, 1); break;
    case SoundRole::Digit: AddTom(out, synth, 0, 180, 1); break;
    case SoundRole::Punctuation:
    case SoundRole::Escape: AddRim(out, synth, 0, 1); break;
    case SoundRole::Tab: AddSnare(out, synth, 0, 0.4); AddSnare(out, synth, 0.03, 1); break;
    case SoundRole::Navigation: AddNoise(out, synth, {0, 0.008, 0.015, 1, 3000, 8000}); break;
    case SoundRole::Function:
        AddModes(out, synth, {{2900, 0.4, 0.05}, {4350, 0.2, 0.03}}, 0, 0.0003);
        AddHat(out, synth, 0, 0.3, 0.01);
        break;
    case SoundRole::Modifier:
        // The hi-hat pedal: a soft closing chick.
        AddNoise(out, synth, {0, 0.002, 0.008, 1, 1500, 5000});
        break;
    case SoundRole::Lock:
        // A small cowbell.
        AddModes(out, synth, {{587, 0.5, 0.04}, {845, 0.5, 0.04}}, 0, 0.0005);
        break;
    }
    LowPass(out, synth, 7000);
    return out;
}

Samples RenderClockTick(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.05);
    switch (request.role) {
    case SoundRole::Letter: {
        // Even variants tick, odd ones tock, each pair a touch apart in pitch.
        const double pitch = VariantFactor(request.index / 2, (request.count + 1) / 2, 0.06);
        AddTick(out, synth, 0, request.index % 2 == 0 ? pitch : 0.75 * pitch, 1);
        break;
    }
    case SoundRole::Enter:
        // The hour chime, ding then dong.
        out = Blank(synth, 0.38);
        AddChime(out, synth, 0, 1318.5);
        AddChime(out, synth, 0.15, 1046.5);
        break;
    case SoundRole::Space:
        // Winding the spring: a ratchet of three clicks.
        out = Blank(synth, 0.08);
        for (int i = 0; i < 3; ++i)
            AddTick(out, synth, 0.018 * i, 0.9, 1 - 0.2 * i);
        break;
    case SoundRole::Backspace:
        out = Blank(synth, 0.07);
        AddTick(out, synth, 0, 0.75, 1);
        AddTick(out, synth, 0.03, 0.62, 0.8);
        break;
    default: AddTick(out, synth, 0, RolePitch(request.role) * 0.9, 1); break;
    }
    return out;
}

Samples RenderPebbles(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.06);
    switch (request.role) {
    case SoundRole::Space:
        // A handful of pebbles settling.
        out = Blank(synth, 0.09);
        for (int i = 0; i < 4; ++i)
            AddPebble(out, synth, 0.017 * i, 0.8 + 0.1 * (i % 3), 1 - 0.18 * i, false);
        break;
    case SoundRole::Enter:
        // A pebble dropped into a stone bowl, which rings.
        out = Blank(synth, 0.25);
        AddPebble(out, synth, 0, 0.9, 1, false);
        AddModes(out, synth, {{820, 0.3, 0.12}, {2200, 0.15, 0.06}, {3510, 0.06, 0.04}}, 0,
                 0.0005);
        break;
    case SoundRole::Backspace: AddPebble(out, synth, 0, 0.7, 1, false); break;
    case SoundRole::Modifier: AddNoise(out, synth, {0, 0.004, 0.01, 1, 1000, 5000}); break;
    case SoundRole::Lock:
        AddPebble(out, synth, 0, 1.2, 1, false);
        AddPebble(out, synth, 0.03, 1.2, 0.8, false);
        break;
    default: AddPebble(out, synth, 0, LetterPitch(request, 0.25), 1, true); break;
    }
    return out;
}

Samples RenderSoftTaps(const SoundRequest& request, Synth& synth)
{
    Samples out = Blank(synth, 0.07);
    switch (request.role) {
    case SoundRole::Space:
        // The flat of the hand: lower and longer.
        out = Blank(synth, 0.1);
        AddTap(out, synth, 0, 0.65, 1, 1.5);
        break;
    case SoundRole::Enter:
        // Two knuckle knocks.
        out = Blank(synth, 0.15);
        AddTap(out, synth, 0, 1.1, 1, 1);
        AddNoise(out, synth, {0, 0.0003, 0.002, 0.3, 900, 4000});
        AddTap(out, synth, 0.075, 1.0, 1, 1.2);
        AddNoise(out, synth, {0.075, 0.0003, 0.002, 0.3, 900, 4000});
        break;
    case SoundRole::Backspace:
    case SoundRole::Lock:
        // A fingernail: a small high tick on the same board.
        AddNoise(out, synth, {0, 0.0002, 0.0015, 0.6, 1500, 4500});
        AddModes(out, synth, {{2100, 0.3, 0.006}}, 0, 0.0002);
        AddTap(out, synth, 0, request.role == SoundRole::Lock ? 1.3 : 0.9, 0.4, 0.7);
        break;
    case SoundRole::Modifier: AddNoise(out, synth, {0, 0.004, 0.012, 1, 150, 1200}); break;
    default: AddTap(out, synth, 0, LetterPitch(request, 0.15), 1, 1); break;
    }
    return out;
}

}  // namespace schemegen
