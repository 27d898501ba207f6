#pragma once
// What passes between Tapvox, KbdHook.dll and HookProc.exe: the registered message names, the
// hook event carried in the first parameter of "NEW_HOOK_SYSTEM", and the helper's commands
// and replies carried by "M_TapvoxHkPrcMsg". Plain numbers only, so every side can share it.

#include <cstdint>

// Registered window message names.
inline constexpr char kHookMessageName[] = "NEW_HOOK_SYSTEM";
inline constexpr char kHelperMessageName[] = "M_TapvoxHkPrcMsg";

// Event kinds, held in bits 16 to 31 of a hook event.
enum HookEventKind : uint32_t {
    HookEventKey = 0,           // a key press: key code in bits 8 to 15, character in bits 0 to 7
    HookEventWindow = 1,        // lParam holds a window handle
    HookEventWindowInfo = 2,    // lParam holds a window handle or 0; no effect: KbdHook.dll
                                // posts it at each change of a polled key to wake the poll
    HookEventReinstall = 3,     // the hooks ask to be installed again
    HookEventKeyRelease = 4,    // a key's release: key code in bits 8 to 15, bits 0 to 7 are 0
    HookEventMouse = 5,         // a mouse button: its virtual-key code in bits 8 to 15, bit 0
                                // set for its release
    HookEventPoll = 0x1B73,     // Tapvox's own poll timer (7027), never sent by a hook
};

constexpr uint32_t MakeHookEvent(uint32_t kind, uint32_t low16) {
    return ((kind & 0xFFFFu) << 16) | (low16 & 0xFFFFu);
}

constexpr uint32_t MakeKeyEvent(uint8_t keyCode, uint8_t character) {
    return MakeHookEvent(HookEventKey, (uint32_t{keyCode} << 8) | character);
}

// A release carries no character: what it would type depends on keys that may have changed
// since the press.
constexpr uint32_t MakeKeyReleaseEvent(uint8_t keyCode) {
    return MakeHookEvent(HookEventKeyRelease, uint32_t{keyCode} << 8);
}

// The button is named by its virtual-key code (1 left, 2 right, 4 middle, 5 and 6 the side
// buttons), the code its sounds are stored under.
constexpr uint32_t MakeMouseEvent(uint8_t buttonCode, bool released) {
    return MakeHookEvent(HookEventMouse, (uint32_t{buttonCode} << 8) | (released ? 1u : 0u));
}

constexpr uint32_t HookEventKindOf(uint32_t event) { return event >> 16; }
constexpr uint8_t HookEventKeyCode(uint32_t event) { return static_cast<uint8_t>(event >> 8); }
constexpr uint8_t HookEventCharacter(uint32_t event) { return static_cast<uint8_t>(event); }
constexpr bool HookEventIsButtonRelease(uint32_t event) { return (event & 1u) != 0; }

// Commands sent to HookProc.exe's window (SendMessage "M_TapvoxHkPrcMsg", command in wParam,
// parameter in lParam).
enum HelperCommand : uint32_t {
    HelperInstallHooks = 0x3B00,     // parameter 1: install, 0: remove
    HelperReinstallHooks = 0x3B01,   // parameter 0
    HelperSetWaitForEndKey = 0x3B03, // parameter: the value; the reply passes it back
};

// The high 16 bits of a reply that reports success.
inline constexpr uint32_t kHelperSuccessCode = 0xA7;

constexpr uint32_t MakeHelperReply(bool success) { return success ? kHelperSuccessCode << 16 : 0; }

// A reply as the 32-bit program sees it: only the low 32 bits of the result cross over.
constexpr bool IsHelperSuccess(uint32_t reply) { return (reply >> 16) == kHelperSuccessCode; }
