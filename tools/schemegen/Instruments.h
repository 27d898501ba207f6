#pragma once
#include <vector>

#include "tools/schemegen/Voices.h"

// Two families of recipes share their role logic: keyboards (a switch, a keycap, a case)
// and tuned instruments (a note function played as single notes, dyads and arpeggios).
namespace schemegen {

struct SwitchVoice {
    double seconds;
    double clickAmp;  // the click leaf of a clicky switch; 0 for linear and rubber switches
    double clickHz;
    double travel;  // seconds from the click to the key landing
    std::vector<Mode> landing;  // keycap and plate ringing when the key lands
    double clackAmp;  // the impact noise
    double clackLowHz;
    double clackHighHz;
    double clackDecay;
    double thudHz;  // the case and the desk underneath
    double thudAmp;
    double toneHz;  // final low pass: the keyboard's overall brightness
};

// One key press. `pitch` scales every resonance (bigger keys ring lower); `rattle` adds the
// stabiliser wire that wide keys have.
Samples Keystroke(Synth& synth, const SwitchVoice& voice, double pitch, double rattle);

// The sound of any role on a keyboard: letters vary slightly, wide keys rattle.
Samples KeyboardSound(const SoundRequest& request, Synth& synth, const SwitchVoice& voice);

// A key of the same keyboard coming back up: the stem meets the top of its housing, so the
// sound is shorter and higher than the press, with no landing on the plate and no thud (its
// lower level comes from the scheme builder).
Samples KeyboardReleaseSound(const SoundRequest& request, Synth& synth, const SwitchVoice& voice);

// Plays one note into `out` from `start`; `damping` below 1 shortens the ring, for the
// muted strokes that the quieter keys get.
using NoteFunction = void (*)(Samples& out, Synth& synth, double start, double hz, double amp,
                              double damping);

struct TonalVoice {
    double rootHz;  // scale degree 0
    double noteSeconds;
    double chordSeconds;  // the arpeggio on Enter
    NoteFunction note;
};

// Letters play their scale degree; Enter an arpeggio, Space a low dyad, Backspace a falling
// pair, and the remaining keys muted notes away from the letters' range.
Samples TonalSound(const SoundRequest& request, Synth& synth, const TonalVoice& voice);

}  // namespace schemegen
