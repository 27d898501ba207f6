#include "kbdhook/KeyPressFilter.h"

namespace {

constexpr uint32_t kCapsLock = 0x14;

// Virtual-key codes of the polled keys.
constexpr uint32_t kPolledKeys[] = {
    0x10, 0x11, 0x12,              // Shift, Ctrl, Alt
    0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5,  // their left and right codes
    0x5B,                          // left Windows key
    kCapsLock, 0x90, 0x91,         // Caps Lock, Num Lock, Scroll Lock
};

}  // namespace

bool IsPolledKey(uint32_t keyCode) {
    for (uint32_t polled : kPolledKeys) {
        if (keyCode == polled) return true;
    }
    return false;
}

KeyEventOutcome KeyPressFilter::OnKeyEvent(uint32_t keyCode, bool keyUp) {
    if (keyCode > 0xFF || keyCode == 0) return KeyEventOutcome::Ignored;
    const bool wasDown = down_.test(keyCode);
    down_.set(keyCode, !keyUp);
    if (!keyUp && wasDown) return KeyEventOutcome::Ignored;  // an auto-repeat
    // Every release of a polled key is passed on, even one whose press came before the hook.
    if (IsPolledKey(keyCode)) {
        if (keyCode == kCapsLock && !keyUp) capsLockOn_ = !capsLockOn_;
        return KeyEventOutcome::PolledKeyChanged;
    }
    return keyUp ? KeyEventOutcome::Ignored : KeyEventOutcome::NewPress;
}
