#pragma once
#include <cstdint>
#include <vector>

#include "tools/schemegen/Dsp.h"
#include "tools/schemegen/Rng.h"
#include "tools/schemegen/Wav.h"

namespace schemegen {

// What a sound is for; decides its level and, in most schemes, its character.
enum class SoundRole {
    Letter,
    Digit,
    Punctuation,
    Space,
    Enter,
    Backspace,
    Tab,
    Escape,
    Navigation,
    Function,
    Modifier,
    Lock,
};

struct SoundRequest {
    SoundRole role;
    int index;  // letter variant or scale degree; 0 for the single sounds
    int count;  // how many letter variants the scheme has
};

// Everything a recipe needs to render one mono sound.
struct Synth {
    double rate;
    Rng rng;
};

using RenderFunction = Samples (*)(const SoundRequest& request, Synth& synth);

// How the letters get their sounds.
enum class LetterPlan {
    Variants,    // a few slightly different sounds spread over the letters
    ScaleNotes,  // each letter and digit plays a note chosen by its place on the keyboard
    PannedKeys,  // one sound per letter, placed left or right where the key sits (stereo)
};

enum class SchemeFileName { SchemeTxt, SchemeIni };

enum class KeyListing {
    GroupWords,  // "CHARS", "DIGITS" and "FUNCS" first, then the keys that differ
    EveryKey,    // one line per key name
};

struct SchemeDesign {
    const char* name;         // folder name and menu text
    const char* description;  // one line for the README
    WavFormat format;
    LetterPlan letters;
    int letterVariants;  // Variants and PannedKeys: how many slightly different letter sounds
    SchemeFileName fileName;
    KeyListing listing;
    uint64_t seed;
    RenderFunction render;
    // A key's release, for instruments whose keys sound as they come back up; nullptr for the
    // others. Lock keys never get one: their sound marks a change of state.
    RenderFunction release = nullptr;
    // A mouse button's press, for instruments that have a sound of the hand on a mouse or
    // beside the keys; nullptr for the others. The request's index is the button: 0 left,
    // 1 right, 2 middle.
    RenderFunction mouse = nullptr;
};

// Every bundled scheme, ordered by name as Windows lists folders, so that folders created
// in this order list the same way on file systems that keep creation order.
const std::vector<SchemeDesign>& AllSchemes();

// The scheme that a first run activates: the default stored index 19 picks the 20th folder of
// everything shipped, the recorded scheme included.
constexpr int kFirstRunSchemeIndex = 19;
constexpr const char* kFirstRunSchemeName = "Steel Drum";

}  // namespace schemegen
