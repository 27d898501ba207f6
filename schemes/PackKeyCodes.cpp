#include "schemes/PackKeyCodes.h"

namespace {

struct PackKeyRow {
    uint16_t code;     // the Mechvibes code
    const char* name;  // the MechvibesDX name, or nullptr for an alias code
    uint8_t keyCode;
    uint8_t rank;
};

// Grave accent (0x29) and backslash (0x2B) are left out: their Tapvox codes have no key name, so
// no scheme file can give them a sound of their own. So are F13 to F24, whose codes here differ
// from the platform's scancodes.
constexpr PackKeyRow kPackKeys[] = {
    {0x01, "Escape", 27, 0},
    {0x02, "Digit1", 49, 0}, {0x03, "Digit2", 50, 0}, {0x04, "Digit3", 51, 0},
    {0x05, "Digit4", 52, 0}, {0x06, "Digit5", 53, 0}, {0x07, "Digit6", 54, 0},
    {0x08, "Digit7", 55, 0}, {0x09, "Digit8", 56, 0}, {0x0A, "Digit9", 57, 0},
    {0x0B, "Digit0", 48, 0},
    {0x0C, "Minus", 189, 0}, {0x0D, "Equal", 187, 0}, {0x0E, "Backspace", 8, 0},
    {0x0F, "Tab", 9, 0},
    {0x10, "KeyQ", 81, 0}, {0x11, "KeyW", 87, 0}, {0x12, "KeyE", 69, 0}, {0x13, "KeyR", 82, 0},
    {0x14, "KeyT", 84, 0}, {0x15, "KeyY", 89, 0}, {0x16, "KeyU", 85, 0}, {0x17, "KeyI", 73, 0},
    {0x18, "KeyO", 79, 0}, {0x19, "KeyP", 80, 0},
    {0x1A, "BracketLeft", 219, 0}, {0x1B, "BracketRight", 221, 0}, {0x1C, "Enter", 13, 0},
    {0x1D, "ControlLeft", 17, 0},
    {0x1E, "KeyA", 65, 0}, {0x1F, "KeyS", 83, 0}, {0x20, "KeyD", 68, 0}, {0x21, "KeyF", 70, 0},
    {0x22, "KeyG", 71, 0}, {0x23, "KeyH", 72, 0}, {0x24, "KeyJ", 74, 0}, {0x25, "KeyK", 75, 0},
    {0x26, "KeyL", 76, 0},
    {0x27, "Semicolon", 186, 0}, {0x28, "Quote", 222, 0}, {0x2A, "ShiftLeft", 16, 0},
    {0x2C, "KeyZ", 90, 0}, {0x2D, "KeyX", 88, 0}, {0x2E, "KeyC", 67, 0}, {0x2F, "KeyV", 86, 0},
    {0x30, "KeyB", 66, 0}, {0x31, "KeyN", 78, 0}, {0x32, "KeyM", 77, 0},
    {0x33, "Comma", 188, 0}, {0x34, "Period", 190, 0}, {0x35, "Slash", 191, 0},
    {0x36, "ShiftRight", 16, 1},
    {0x37, "NumpadMultiply", 106, 0}, {0x38, "AltLeft", 18, 0}, {0x39, "Space", 32, 0},
    {0x3A, "CapsLock", 20, 0},
    {0x3B, "F1", 112, 0}, {0x3C, "F2", 113, 0}, {0x3D, "F3", 114, 0}, {0x3E, "F4", 115, 0},
    {0x3F, "F5", 116, 0}, {0x40, "F6", 117, 0}, {0x41, "F7", 118, 0}, {0x42, "F8", 119, 0},
    {0x43, "F9", 120, 0}, {0x44, "F10", 121, 0},
    // Tapvox hears Num Lock through its state poll, under a code of its own.
    {0x45, "NumLock", 157, 0}, {0x46, "ScrollLock", 145, 0},
    // The keypad as it sounds with Num Lock on.
    {0x47, "Numpad7", 103, 0}, {0x48, "Numpad8", 104, 0}, {0x49, "Numpad9", 105, 0},
    {0x4A, "NumpadSubtract", 109, 0},
    {0x4B, "Numpad4", 100, 0}, {0x4C, "Numpad5", 101, 0}, {0x4D, "Numpad6", 102, 0},
    {0x4E, "NumpadAdd", 107, 0},
    {0x4F, "Numpad1", 97, 0}, {0x50, "Numpad2", 98, 0}, {0x51, "Numpad3", 99, 0},
    {0x52, "Numpad0", 96, 0}, {0x53, "NumpadDecimal", 110, 0},
    {0x57, "F11", 122, 0}, {0x58, "F12", 123, 0},
    {0x0E1C, "NumpadEnter", 13, 1}, {0x0E1D, "ControlRight", 17, 1},
    {0x0E35, "NumpadDivide", 111, 0}, {0x0E37, "PrintScreen", 44, 0},
    {0x0E38, "AltRight", 18, 1}, {0x0E45, "Pause", 19, 0},
    {0x0E47, "Home", 36, 0}, {0x0E49, "PageUp", 33, 0}, {0x0E4F, "End", 35, 0},
    {0x0E51, "PageDown", 34, 0}, {0x0E52, "Insert", 45, 0}, {0x0E53, "Delete", 46, 0},
    {0x0E5B, "MetaLeft", 91, 0}, {0x0E5C, "MetaRight", 92, 0}, {0x0E5D, "ContextMenu", 93, 0},
    {0xE048, "ArrowUp", 38, 0}, {0xE04B, "ArrowLeft", 37, 0},
    {0xE04D, "ArrowRight", 39, 0}, {0xE050, "ArrowDown", 40, 0},
    {0xEE47, nullptr, 36, 1}, {0xEE48, nullptr, 38, 1}, {0xEE49, nullptr, 33, 1},
    {0xEE4B, nullptr, 37, 1}, {0xEE4D, nullptr, 39, 1}, {0xEE4F, nullptr, 35, 1},
    {0xEE50, nullptr, 40, 1}, {0xEE51, nullptr, 34, 1}, {0xEE52, nullptr, 45, 1},
    {0xEE53, nullptr, 46, 1},
};

constexpr PackKey kNoKey = {0, 0};

}  // namespace

PackKey PackKeyFromCode(uint32_t packCode) {
    for (const PackKeyRow& row : kPackKeys) {
        if (row.code == packCode) return {row.keyCode, row.rank};
    }
    return kNoKey;
}

PackKey PackKeyFromName(std::string_view packKeyName) {
    for (const PackKeyRow& row : kPackKeys) {
        if (row.name != nullptr && packKeyName == row.name) return {row.keyCode, row.rank};
    }
    return kNoKey;
}
