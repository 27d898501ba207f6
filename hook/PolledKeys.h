#pragma once
// The keys Tapvox reads by polling instead of from the hook: the hook library passes their
// presses and releases on only as a nudge to poll, and the program's poll sounds them. Both
// sides take the set from here.

#include <cstdint>

// How a polled key's state word tells that its sound is due.
enum class PollRule : uint8_t {
    Press,      // once per press: Shift, Ctrl, Alt, the left Windows key
    Toggle,     // whenever the toggle bit changes: Caps Lock
    StateWord,  // whenever the whole state word turns zero or non-zero: Num and Scroll Lock
};

struct PolledKey {
    uint8_t virtualKey;  // the key the poll reads
    uint8_t keyCode;     // the key code its sound is looked up with
    PollRule rule;
    uint8_t leftKey;     // the left and right codes the hook sees for the same key; 0: none
    uint8_t rightKey;
};

// The right Windows key is not polled; it sounds from its key event.
inline constexpr PolledKey kPolledKeys[] = {
    {0x10, 16, PollRule::Press, 0xA0, 0xA1},  // Shift
    {0x11, 17, PollRule::Press, 0xA2, 0xA3},  // Ctrl
    {0x12, 18, PollRule::Press, 0xA4, 0xA5},  // Alt
    {0x5B, 91, PollRule::Press, 0, 0},        // left Windows key
    {0x14, 20, PollRule::Toggle, 0, 0},       // Caps Lock
    {0x90, 157, PollRule::StateWord, 0, 0},   // Num Lock, under the program's own code
    {0x91, 145, PollRule::StateWord, 0, 0},   // Scroll Lock
};

// True for any code the hook may see for a polled key: its generic, left or right code.
constexpr bool IsPolledKey(uint32_t keyCode) {
    if (keyCode == 0) return false;
    for (const PolledKey& key : kPolledKeys) {
        if (keyCode == key.virtualKey || keyCode == key.leftKey || keyCode == key.rightKey)
            return true;
    }
    return false;
}
