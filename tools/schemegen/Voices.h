#pragma once
#include <vector>

#include "tools/schemegen/Scheme.h"

// Building blocks for the recipes: struck modes, filtered noise, gliding sines, FM bells and
// band-limited chip tones. Each adds into a mono buffer at the synth's sample rate, and none
// produces content above 0.45 of the sample rate, so low rates stay free of aliasing.
namespace schemegen {

// One vibrating mode of a struck body: an exponentially decaying sine.
struct Mode {
    double hz;
    double amp;
    double decay;  // time constant in seconds
};

Samples Blank(const Synth& synth, double seconds);

// Adds decaying sines starting at `start`; `attack` softens the onset like a padded mallet.
void AddModes(Samples& out, const Synth& synth, const std::vector<Mode>& modes, double start,
              double attack);

// Noise with an attack-decay envelope, band-limited to lowHz..highHz (0 leaves a side open).
struct NoiseBurst {
    double start;
    double attack;
    double decay;
    double amp;
    double lowHz;
    double highHz;
};
void AddNoise(Samples& out, Synth& synth, const NoiseBurst& burst);

// A sine whose pitch moves exponentially from fromHz toward toHz (bubbles, drops, pops).
struct Glide {
    double start;
    double fromHz;
    double toHz;
    double glideTime;  // time constant of the pitch movement
    double amp;
    double attack;
    double decay;
};
void AddGlide(Samples& out, const Synth& synth, const Glide& glide);

// Two-operator FM; an inharmonic ratio and a falling index give the bell's bright strike
// that mellows as it rings.
struct FmBell {
    double start;
    double carrierHz;
    double ratio;
    double index;
    double indexDecay;
    double amp;
    double decay;
};
void AddFmBell(Samples& out, const Synth& synth, const FmBell& bell);

// A band-limited pulse wave with the stepped volume of a sound chip's envelope.
struct ChipNote {
    double start;
    double length;
    double hz;
    double duty;  // 0.125, 0.25 or 0.5 like the classic chips
    double amp;
    double decay;
};
void AddChipNote(Samples& out, const Synth& synth, const ChipNote& note);

// A hammered string: slightly inharmonic partials, two detuned strings, a felt thump.
void AddPianoNote(Samples& out, Synth& synth, double start, double hz, double amp, double decay);

void LowPass(Samples& out, const Synth& synth, double hz);

// Notes of the major pentatonic scale: any mix of them sounds consonant, so fast typing
// never turns into a clash.
double PentatonicHz(double rootHz, int degree);

// Spreads `count` variants evenly around 1 by `spread` (0.04 = +-2 %).
double VariantFactor(int variant, int count, double spread);

// The customary pitch of each role relative to the letters, for recipes that derive the
// other keys from their letter sound.
double RolePitch(SoundRole role);

// A letter's own variant of the pitch by `spread`; other roles their customary pitch.
double LetterPitch(const SoundRequest& request, double spread);

}  // namespace schemegen
