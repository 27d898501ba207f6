#include "kbdhook/KeyPressFilter.h"

namespace {

constexpr uint32_t kCapsLock = 0x14;

}  // namespace

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
    if (keyUp) return wasDown ? KeyEventOutcome::Released : KeyEventOutcome::Ignored;
    return KeyEventOutcome::NewPress;
}
