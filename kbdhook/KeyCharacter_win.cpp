#include "kbdhook/KeyCharacter_win.h"

namespace {

// Tells ToUnicodeEx not to change the system's keyboard state, so that reading the character
// here never eats a dead key the typing program is waiting for (Windows 10 1607 and later).
constexpr UINT kKeepKeyboardState = 0x4;

BYTE DownBit(bool down) { return down ? 0x80 : 0x00; }

void FillModifierState(const KeyPressFilter& keys, BYTE (&state)[256]) {
    const bool shift = keys.IsDown(VK_SHIFT) || keys.IsDown(VK_LSHIFT) || keys.IsDown(VK_RSHIFT);
    const bool control =
        keys.IsDown(VK_CONTROL) || keys.IsDown(VK_LCONTROL) || keys.IsDown(VK_RCONTROL);
    const bool alt = keys.IsDown(VK_MENU) || keys.IsDown(VK_LMENU) || keys.IsDown(VK_RMENU);
    state[VK_SHIFT] = DownBit(shift);
    state[VK_CONTROL] = DownBit(control);
    state[VK_MENU] = DownBit(alt);
    const BYTE sided[] = {VK_LSHIFT, VK_RSHIFT, VK_LCONTROL, VK_RCONTROL, VK_LMENU, VK_RMENU};
    for (BYTE key : sided) state[key] = DownBit(keys.IsDown(key));
}

}  // namespace

uint8_t KeyCharacter(const KBDLLHOOKSTRUCT& key, const KeyPressFilter& keys) {
    if (key.vkCode > 0xFF) return 0;
    BYTE state[256] = {};
    // The modifiers and Caps Lock come from the events this hook has seen, which are exactly
    // the ones before this key; the hook thread's own key state lags behind the system's.
    FillModifierState(keys, state);
    if (keys.IsCapsLockOn()) state[VK_CAPITAL] = 0x01;
    // The number pad sends these codes only while Num Lock is on; some layouts need to see
    // that to give the digit.
    if (key.vkCode >= VK_NUMPAD0 && key.vkCode <= VK_DECIMAL) state[VK_NUMLOCK] = 0x01;
    state[key.vkCode] = 0x80;

    const HWND foreground = GetForegroundWindow();
    const DWORD foregroundThread =
        foreground != nullptr ? GetWindowThreadProcessId(foreground, nullptr) : 0;
    const HKL layout = GetKeyboardLayout(foregroundThread);

    WCHAR text[8];
    const int count = ToUnicodeEx(key.vkCode, key.scanCode, state, text, ARRAYSIZE(text),
                                  kKeepKeyboardState, layout);
    if (count < 1) return 0;

    char bytes[8];
    BOOL usedDefault = FALSE;
    const int byteCount = WideCharToMultiByte(CP_ACP, 0, text, 1, bytes, ARRAYSIZE(bytes),
                                              nullptr, &usedDefault);
    if (byteCount != 1 || usedDefault) return 0;
    return static_cast<uint8_t>(bytes[0]);
}
