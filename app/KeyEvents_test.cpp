#include "app/KeyEvents.h"

#include <gtest/gtest.h>

#include <iterator>

namespace {

constexpr int kEcho = 1;

TEST(KeyEvents, FilterOnlyForLetterKeysWithoutASmallAsciiLetter) {
    const struct {
        uint8_t keyCode;
        uint8_t character;
        int filter;
    } cases[] = {
        {'A', 'A', kEcho},    // Shift or Caps Lock
        {'A', 'a', 0},
        {'Z', 'Z', kEcho},    {'Z', 'z', 0},
        {'Q', 0xE9, kEcho},   // a letter of another layout: the C locale leaves it as it is
        {'Q', 0, kEcho},      // a letter key that produced no character
        {'1', '1', 0},        // digits, function keys and the rest are never filtered
        {0x70, 0, 0},         {0x40, '@', 0},  {0x5B, 0, 0},
        {0x61, 'A', 0},       // numeric-pad 1 is not a letter key, whatever its character
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FilterForKeyEvent(c.keyCode, c.character, kEcho), c.filter)
            << std::hex << int(c.keyCode) << ' ' << int(c.character);
    }
    EXPECT_EQ(FilterForKeyEvent('A', 'A', 2), 2);
    EXPECT_EQ(FilterForKeyEvent('A', 'A', 100), 100) << "unknown filters pass through";
}

// Key state words as GetKeyState gives them: down is negative (0xFF80), toggled has bit 0.
constexpr int16_t kUp = 0;
constexpr int16_t kUpToggled = 1;
constexpr int16_t kDown = static_cast<int16_t>(0xFF80);
constexpr int16_t kDownToggled = static_cast<int16_t>(0xFF81);

struct Poll {
    int16_t state;
    bool fires;
};

template <size_t N>
void ExpectSequence(bool (*rule)(int&, int16_t), int start, const Poll (&polls)[N]) {
    int last = start;
    for (size_t i = 0; i < N; ++i) EXPECT_EQ(rule(last, polls[i].state), polls[i].fires) << i;
}

TEST(KeyEvents, ModifierSoundsOncePerPressAndOncePerRelease) {
    constexpr PolledSound kNone = PolledSound::None;
    constexpr PolledSound kPress = PolledSound::Press;
    constexpr PolledSound kRelease = PolledSound::Release;
    const struct {
        int16_t state;
        PolledSound sound;
    } polls[] = {
        {kDown, kPress},        {kDown, kNone},          // held: nothing more
        {kDownToggled, kNone},  // the toggle bit is not the down bit
        {kUpToggled, kRelease}, {kUp, kNone},            // let go, whatever the toggle
        {kUp, kNone},           {kDown, kPress},
        {kUp, kRelease},        {kDown, kPress},         // quick taps: each change sounds
    };
    int wasDown = 0;
    for (size_t i = 0; i < std::size(polls); ++i)
        EXPECT_EQ(ModifierChange(wasDown, polls[i].state), polls[i].sound) << i;
    int heldAtStart = 0;
    EXPECT_EQ(ModifierChange(heldAtStart, kDown), kPress);
    int upAtStart = 0;
    EXPECT_EQ(ModifierChange(upAtStart, kUp), kNone) << "no release without a press seen";
}

TEST(KeyEvents, CapsLockSoundsOnEveryToggle) {
    // Each press flips the toggle; releases leave it, so one sound per press.
    const Poll presses[] = {
        {kDownToggled, true}, {kUpToggled, false}, {kDown, true}, {kUp, false},
    };
    ExpectSequence(ToggleChanged, 0, presses);
    const Poll onAtStart[] = {{kUpToggled, false}, {kUp, true}};
    ExpectSequence(ToggleChanged, 1, onAtStart);
}

TEST(KeyEvents, NumLockSoundsWhenTheWholeStateWordTurns) {
    // Off: the press switches it on (sound); the next press is silent until its release
    // switches the word back to zero.
    const Poll presses[] = {
        {kDownToggled, true}, {kUpToggled, false}, {kDown, false}, {kUp, true},
    };
    ExpectSequence(StateWordChanged, 0, presses);
}

}  // namespace
