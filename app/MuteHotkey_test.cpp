#include "app/MuteHotkey.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr uint32_t Word(unsigned modifiers, unsigned key) { return (modifiers << 8) | key; }

TEST(MuteHotkey, StoredValueOrDefault) {
    struct Case {
        bool present;
        uint32_t stored;
        uint16_t expected;
    };
    const uint16_t ctrlF9 = Word(kHotkeyControl, 0x78);
    const Case cases[] = {
        {false, 0, kDefaultMuteHotkey},
        {false, ctrlF9, kDefaultMuteHotkey},
        {true, 0, kNoMuteHotkey},
        {true, ctrlF9, ctrlF9},
        {true, Word(kHotkeyAlt | kHotkeyExtended, 0x2E), Word(kHotkeyAlt | kHotkeyExtended, 0x2E)},
        {true, Word(kHotkeyAlt, 'P'), Word(kHotkeyAlt, 'P')},
        // Hostile: a bare key, Shift with a key, a modifier alone, unknown modifier bits,
        // bits above the word, no key at all.
        {true, 'M', kDefaultMuteHotkey},
        {true, Word(kHotkeyShift, 'M'), kDefaultMuteHotkey},
        {true, Word(kHotkeyControl, 0x10), kDefaultMuteHotkey},
        {true, Word(kHotkeyControl, 0xA5), kDefaultMuteHotkey},
        {true, Word(kHotkeyControl, 0x5B), kDefaultMuteHotkey},
        {true, Word(kHotkeyControl | 0x10, 'M'), kDefaultMuteHotkey},
        {true, 0x10000u | Word(kHotkeyControl, 'M'), kDefaultMuteHotkey},
        {true, 0xFFFFFFFFu, kDefaultMuteHotkey},
        {true, Word(kHotkeyControl, 0), kDefaultMuteHotkey},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MuteHotkeyOfStored(c.present, c.stored), c.expected)
            << std::hex << c.present << " " << c.stored;
    }
}

TEST(MuteHotkey, DefaultIsUsable) { EXPECT_TRUE(IsUsableMuteHotkey(kDefaultMuteHotkey)); }

// The control's Shift and Alt bits sit the other way round from the system's.
TEST(MuteHotkey, ChordOfTheControlsWord) {
    struct Case {
        uint16_t word;
        unsigned modifiers;
        unsigned key;
    };
    const Case cases[] = {
        {kDefaultMuteHotkey, kChordControl | kChordAlt | kChordShift | kChordNoRepeat, 'M'},
        {static_cast<uint16_t>(Word(kHotkeyShift | kHotkeyControl, 'Q')),
         kChordShift | kChordControl | kChordNoRepeat, 'Q'},
        {static_cast<uint16_t>(Word(kHotkeyAlt, 0x78)), kChordAlt | kChordNoRepeat, 0x78},
        {static_cast<uint16_t>(Word(kHotkeyAlt | kHotkeyExtended, 0x2E)),
         kChordAlt | kChordNoRepeat, 0x2E},
    };
    for (const Case& c : cases) {
        const HotkeyChord chord = ChordOfMuteHotkey(c.word);
        EXPECT_EQ(chord.modifiers, c.modifiers) << std::hex << c.word;
        EXPECT_EQ(chord.virtualKey, c.key) << std::hex << c.word;
    }
}

}  // namespace
