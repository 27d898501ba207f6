#pragma once
// Which quiet rule holds, from the facts gathered when the foreground or the focus changes and
// the switches the user set. The key path reads the result; it never decides per key.

#include "hook/QuietReason.h"

struct QuietFacts {
    bool fullScreen = false;     // the window in front covers its monitor
    bool listedProgram = false;  // its program's file name is on the user's list
    bool passwordFocus = false;  // the focused control hides what is typed
};

struct QuietSwitches {
    bool fullScreen = true;
    bool passwords = true;
};

// The reason shown: Mute first, then full screen, a listed program, a password box.
QuietReason QuietReasonFor(bool muted, const QuietSwitches& switches, const QuietFacts& facts);
