#include "tools/schemegen/Instruments.h"
#include "tools/schemegen/Recipes.h"

namespace schemegen {

namespace {

// A clicky switch: the click leaf snaps, then the cap lands on a steel plate.
const SwitchVoice kClicky = {
    0.080, 0.9, 4200, 0.006, {{1900, 0.35, 0.010}, {3100, 0.25, 0.007}, {5200, 0.12, 0.004}},
    0.40, 800, 8000, 0.003, 320, 0.35, 12000};

// A lubed linear switch in a dampened case: no click, a deep rounded "thock".
const SwitchVoice kSoft = {
    0.090, 0, 0, 0.001, {{420, 0.5, 0.020}, {980, 0.35, 0.012}, {1750, 0.15, 0.008}},
    0.18, 300, 2500, 0.004, 180, 0.6, 3500};

// A linear switch with thick keycaps: a brighter "clack" than the soft board.
const SwitchVoice kStereo = {
    0.085, 0, 0, 0.001, {{650, 0.45, 0.014}, {1450, 0.30, 0.009}, {2600, 0.15, 0.006}},
    0.30, 500, 5000, 0.003, 230, 0.5, 6000};

// A rubber dome: the membrane gives way, a dull and short "thup".
const SwitchVoice kMembrane = {
    0.060, 0, 0, 0.0, {{380, 0.3, 0.008}, {800, 0.15, 0.006}},
    0.35, 200, 1800, 0.006, 150, 0.4, 2200};

// A scissor switch: very short travel, a light crisp tick.
const SwitchVoice kLaptop = {
    0.045, 0, 0, 0.0, {{1300, 0.3, 0.005}, {2900, 0.25, 0.003}},
    0.5, 1500, 9000, 0.0015, 500, 0.15, 10000};

// A gaming mouse's microswitch: a hard, high snap with almost no travel and no plate.
const SwitchVoice kMouseSwitch = {
    0.040, 0.9, 5600, 0.001, {{2700, 0.25, 0.005}, {4900, 0.15, 0.003}},
    0.25, 2000, 10000, 0.0015, 650, 0.12, 12000};

// A touchpad pressed down: a small, dull tick of its hinge.
const SwitchVoice kTouchpad = {
    0.040, 0.35, 3200, 0.001, {{950, 0.3, 0.006}, {2200, 0.2, 0.004}},
    0.3, 800, 6000, 0.002, 320, 0.25, 7000};

// Each button a little lower than the last, so left, right and middle can be told apart.
double ButtonPitch(const SoundRequest& request)
{
    return 1.0 - 0.07 * request.index;
}

// The type bar's slug hits the platen: a metallic clack over a rubbery thud.
void AddTypebarStrike(Samples& out, Synth& synth, double start, double pitch, double amp)
{
    AddNoise(out, synth, {start, 0.0003, 0.004, 0.6 * amp, 1800 * pitch, 5000 * pitch});
    AddModes(out, synth,
             {{1150 * pitch, 0.5 * amp, 0.012},
              {2380 * pitch, 0.35 * amp, 0.008},
              {3720 * pitch, 0.2 * amp, 0.005},
              {5100 * pitch, 0.1 * amp, 0.004}},
             start, 0.0002);
    AddModes(out, synth, {{160, 0.45 * amp, 0.020}, {310, 0.25 * amp, 0.015}}, start, 0.001);
}

// The escapement lets the carriage move on by one letter: a small dry tick.
void AddEscapement(Samples& out, Synth& synth, double start, double amp)
{
    AddNoise(out, synth, {start, 0.0002, 0.002, 0.15 * amp, 2500, 6500});
    AddModes(out, synth, {{2900, 0.08 * amp, 0.004}}, start, 0.0002);
}

// The carriage bell: a small struck dome, its partials from a bell's inharmonic series.
void AddCarriageBell(Samples& out, Synth& synth, double start)
{
    AddModes(out, synth,
             {{2200, 0.8, 0.13}, {4580, 0.3, 0.07}, {6490, 0.15, 0.05}, {9060, 0.06, 0.04}},
             start, 0.0003);
    AddNoise(out, synth, {start, 0.0002, 0.0015, 0.2, 3000, 9000});
}

}  // namespace

Samples RenderClickyMechanical(const SoundRequest& request, Synth& synth)
{
    return KeyboardSound(request, synth, kClicky);
}

Samples RenderSoftMechanical(const SoundRequest& request, Synth& synth)
{
    return KeyboardSound(request, synth, kSoft);
}

Samples RenderStereoMechanical(const SoundRequest& request, Synth& synth)
{
    return KeyboardSound(request, synth, kStereo);
}

Samples RenderMembrane(const SoundRequest& request, Synth& synth)
{
    return KeyboardSound(request, synth, kMembrane);
}

Samples RenderLaptopKeys(const SoundRequest& request, Synth& synth)
{
    return KeyboardSound(request, synth, kLaptop);
}

Samples RenderClickyMechanicalMouse(const SoundRequest& request, Synth& synth)
{
    return Keystroke(synth, kMouseSwitch, ButtonPitch(request), 0);
}

Samples RenderLaptopKeysMouse(const SoundRequest& request, Synth& synth)
{
    return Keystroke(synth, kTouchpad, ButtonPitch(request), 0);
}

Samples RenderClickyMechanicalRelease(const SoundRequest& request, Synth& synth)
{
    return KeyboardReleaseSound(request, synth, kClicky);
}

Samples RenderSoftMechanicalRelease(const SoundRequest& request, Synth& synth)
{
    return KeyboardReleaseSound(request, synth, kSoft);
}

Samples RenderStereoMechanicalRelease(const SoundRequest& request, Synth& synth)
{
    return KeyboardReleaseSound(request, synth, kStereo);
}

Samples RenderMembraneRelease(const SoundRequest& request, Synth& synth)
{
    return KeyboardReleaseSound(request, synth, kMembrane);
}

Samples RenderLaptopKeysRelease(const SoundRequest& request, Synth& synth)
{
    return KeyboardReleaseSound(request, synth, kLaptop);
}

Samples RenderTypewriter(const SoundRequest& request, Synth& synth)
{
    const double pitch = RolePitch(request.role);
    Samples out = Blank(synth, 0.1);
    switch (request.role) {
    case SoundRole::Letter:
        AddTypebarStrike(out, synth, 0,
                         VariantFactor(request.index, request.count, 0.1), 1);
        AddEscapement(out, synth, 0.035, 1);
        break;
    case SoundRole::Enter:
        // The bell, then the carriage slamming back to the margin.
        out = Blank(synth, 0.33);
        AddCarriageBell(out, synth, 0);
        AddModes(out, synth, {{120, 0.6, 0.04}, {260, 0.3, 0.03}}, 0.09, 0.002);
        AddNoise(out, synth, {0.09, 0.001, 0.01, 0.3, 200, 2500});
        break;
    case SoundRole::Space:
        // The space bar only advances the carriage: a thud and two escapement ticks.
        out = Blank(synth, 0.12);
        AddModes(out, synth, {{120, 0.5, 0.03}, {260, 0.3, 0.02}}, 0, 0.001);
        AddEscapement(out, synth, 0.0, 1.6);
        AddEscapement(out, synth, 0.03, 1.2);
        break;
    case SoundRole::Tab:
        // The tabulator lets the carriage run: a quick train of ticks.
        out = Blank(synth, 0.12);
        for (int i = 0; i < 5; ++i)
            AddEscapement(out, synth, 0.012 * i, 1.5 - 0.2 * i);
        AddModes(out, synth, {{140, 0.4, 0.03}}, 0.06, 0.001);
        break;
    case SoundRole::Modifier:
    case SoundRole::Lock:
        // Shift lifts the whole type basket: a heavy, low clunk.
        AddModes(out, synth, {{150 * pitch, 0.6, 0.04}, {330 * pitch, 0.3, 0.03}}, 0, 0.002);
        AddNoise(out, synth, {0, 0.001, 0.008, 0.3, 100, 800 * pitch});
        break;
    default:
        AddTypebarStrike(out, synth, 0, pitch, 1);
        AddEscapement(out, synth, 0.035, 1);
        break;
    }
    LowPass(out, synth, 7000);
    return out;
}

Samples RenderTypewriterRelease(const SoundRequest& request, Synth& synth)
{
    const double pitch = RolePitch(request.role);
    Samples out = Blank(synth, 0.05);
    if (request.role == SoundRole::Modifier) {
        // The type basket drops back: a short, damped clunk.
        AddModes(out, synth, {{210 * pitch, 0.5, 0.015}, {460 * pitch, 0.25, 0.01}}, 0, 0.002);
        AddNoise(out, synth, {0, 0.001, 0.004, 0.2, 150, 1200 * pitch});
    } else {
        // The key lever springs up and the type bar falls back onto its felt rest.
        AddModes(out, synth, {{1600 * pitch, 0.25, 0.005}, {3300 * pitch, 0.15, 0.003}}, 0,
                 0.0003);
        AddNoise(out, synth, {0, 0.0003, 0.003, 0.3, 2000 * pitch, 7000});
        AddModes(out, synth, {{260 * pitch, 0.2, 0.008}}, 0.002, 0.001);
    }
    LowPass(out, synth, 7000);
    return out;
}

}  // namespace schemegen
