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

bool KeyPressFilter::OnKeyEvent(uint32_t keyCode, bool keyUp) {
    if (keyCode > 0xFF) return false;
    const bool wasDown = down_.test(keyCode);
    down_.set(keyCode, !keyUp);
    if (keyUp || wasDown || keyCode == 0) return false;
    if (keyCode == kCapsLock) capsLockOn_ = !capsLockOn_;
    return !IsPolledKey(keyCode);
}
