#pragma once
#include <string>
#include <vector>

#include "tools/schemegen/Scheme.h"

// Which keys a generated scheme names, what each is for, and where the letters and digits
// sit on a US keyboard (for note and stereo placement).
namespace schemegen {

struct NamedKey {
    const char* name;
    SoundRole role;
};

// Keys outside the groups "CHARS", "DIGITS" and "FUNCS": first those the scheme editor
// lists, in its order, then the ones only a hand-written scheme file can name.
const std::vector<NamedKey>& SingleKeys();

// Key names of the groups, in group order.
const std::vector<std::string>& DigitKeyNames();     // NUMPAD0..NUMPAD9, D0..D9
const std::vector<std::string>& FunctionKeyNames();  // F1..F24

// Scale degree of a letter: rows rise from bottom to top and keys rise from left to right,
// so sweeping along a row plays a run and the home row sits in the middle of the range.
int LetterDegree(char letter);

// Scale degree of a digit key: the number row continues above the top letter row; the
// keypad digit n plays what the top-row digit n plays.
int DigitDegree(int digit);

// Stereo position of a letter key, -1 (left) to +1 (right), from its column.
double LetterPan(char letter);

// Stereo position of the sound of a role; keys sharing a sound share its position.
double RolePan(SoundRole role);

}  // namespace schemegen
