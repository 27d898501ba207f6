#pragma once
// Which low-level keyboard events become a key event for Tapvox: the first key-down of each
// press, never its auto-repeats and never a key-up, and never a key that Tapvox polls itself
// (Shift, Ctrl, Alt, the left Windows key and the three lock keys), so no key sounds twice.
// It also keeps which keys are down and whether Caps Lock is on: the keyboard state a typed
// character depends on, as of exactly the events before it.

#include <bitset>
#include <cstdint>

// True for the keys Tapvox reads by polling: their generic and left/right codes.
bool IsPolledKey(uint32_t keyCode);

class KeyPressFilter {
public:
    // Records the event; true when it is a new press to report. Codes beyond 255 are not
    // keys and are never reported.
    bool OnKeyEvent(uint32_t keyCode, bool keyUp);

    // Down as far as the events seen so far tell.
    bool IsDown(uint8_t keyCode) const { return down_.test(keyCode); }

    // Caps Lock's toggle: as the system had it when the hook started, flipped by each press
    // since (not by its auto-repeats or its release).
    bool IsCapsLockOn() const { return capsLockOn_; }
    void SetCapsLockOn(bool on) { capsLockOn_ = on; }

private:
    std::bitset<256> down_;
    bool capsLockOn_ = false;
};
