#include "app/KeyEvents.h"

namespace {

constexpr uint8_t kFirstLetterKey = 0x41;  // A
constexpr uint8_t kLastLetterKey = 0x5A;   // Z
// GetKeyState reports a key that is down as a negative number whose low byte is 0x80 or 0x81,
// so the low byte's top bit tells "down" as well as the sign does.
constexpr int16_t kDownBit = 0x0080;
constexpr int16_t kToggleBit = 0x0001;

}  // namespace

int FilterForKeyEvent(uint8_t keyCode, uint8_t character, int filter) {
    const bool letterKey = keyCode >= kFirstLetterKey && keyCode <= kLastLetterKey;
    // Upper-casing in the "C" locale changes only 'a' to 'z'.
    const bool smallAsciiLetter = character >= 'a' && character <= 'z';
    return letterKey && !smallAsciiLetter ? filter : 0;
}

PolledSound ModifierChange(int& wasDown, int16_t keyState) {
    const int down = (keyState & kDownBit) != 0;
    const int before = wasDown;
    wasDown = down;
    if (down == before) return PolledSound::None;
    return down ? PolledSound::Press : PolledSound::Release;
}

bool ToggleChanged(int& wasOn, int16_t keyState) {
    const int on = (keyState & kToggleBit) != 0;
    const bool fires = on != wasOn;
    wasOn = on;
    return fires;
}

bool StateWordChanged(int& wasNonZero, int16_t keyState) {
    const int nonZero = keyState != 0;
    const bool fires = nonZero != wasNonZero;
    wasNonZero = nonZero;
    return fires;
}
