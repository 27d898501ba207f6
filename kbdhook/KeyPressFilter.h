#pragma once
// Which low-level keyboard events become a key event for Tapvox: the first key-down of each
// press and the key-up that ends it, never its auto-repeats, and never a key that Tapvox polls
// itself (Shift, Ctrl, Alt, the left Windows key and the three lock keys: hook/PolledKeys.h),
// so no key sounds twice.
// A press or release of a polled key is told apart: Tapvox polls right after any event it
// receives, so an event that sounds nothing lets the poll see even a quick tap.
// It also keeps which keys are down and whether Caps Lock is on: the keyboard state a typed
// character depends on, as of exactly the events before it.

#include "hook/PolledKeys.h"

#include <bitset>
#include <cstdint>

enum class KeyEventOutcome {
    Ignored,           // nothing to report
    NewPress,          // a new press of a key that sounds from its key event
    Released,          // the release of such a key, once per press
    PolledKeyChanged,  // a new press or any release of a polled key
};

class KeyPressFilter {
public:
    // Records the event and tells what to report. Codes beyond 255 are not keys and are
    // never reported; auto-repeats report nothing, nor does a key-up of a key not down.
    KeyEventOutcome OnKeyEvent(uint32_t keyCode, bool keyUp);

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
