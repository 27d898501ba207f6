#include "tools/recordedscheme/RecordedKeys.h"

#include <cctype>
#include <iterator>

#include "tools/schemegen/KeyLayout.h"

namespace recorded {

namespace {

constexpr unsigned kE0 = 0x0E00;
constexpr unsigned kArrow = 0xE000;

constexpr ScancodeKey kScancodeKeys[] = {
    {0x01, "ESC"}, {0x02, "D1"}, {0x03, "D2"}, {0x04, "D3"}, {0x05, "D4"}, {0x06, "D5"},
    {0x07, "D6"}, {0x08, "D7"}, {0x09, "D8"}, {0x0A, "D9"}, {0x0B, "D0"}, {0x0C, "UNDER"},
    {0x0D, "EQUAL"}, {0x0E, "BACK"}, {0x0F, "TAB"},
    {0x10, "Q"}, {0x11, "W"}, {0x12, "E"}, {0x13, "R"}, {0x14, "T"}, {0x15, "Y"},
    {0x16, "U"}, {0x17, "I"}, {0x18, "O"}, {0x19, "P"}, {0x1A, "OPENBR"}, {0x1B, "CLOSEBR"},
    {0x1C, "ENTER"}, {0x1D, "CTRL"},
    {0x1E, "A"}, {0x1F, "S"}, {0x20, "D"}, {0x21, "F"}, {0x22, "G"}, {0x23, "H"},
    {0x24, "J"}, {0x25, "K"}, {0x26, "L"}, {0x27, "SEMICLN"}, {0x28, "APOSTRF"},
    {0x2A, "SHIFT"},
    {0x2C, "Z"}, {0x2D, "X"}, {0x2E, "C"}, {0x2F, "V"}, {0x30, "B"}, {0x31, "N"},
    {0x32, "M"}, {0x33, "COMMA"}, {0x34, "POINT"}, {0x35, "SLASH"}, {0x36, "SHIFT"},
    {0x37, "MUL"}, {0x38, "ALT"}, {0x39, "SPACE"}, {0x3A, "CAPSLOCK"},
    {0x3B, "F1"}, {0x3C, "F2"}, {0x3D, "F3"}, {0x3E, "F4"}, {0x3F, "F5"}, {0x40, "F6"},
    {0x41, "F7"}, {0x42, "F8"}, {0x43, "F9"}, {0x44, "F10"},
    {0x45, "NUMLOCK"}, {0x46, "SCROLL"},
    {0x47, "NUMPAD7"}, {0x48, "NUMPAD8"}, {0x49, "NUMPAD9"}, {0x4A, "SUB"},
    {0x4B, "NUMPAD4"}, {0x4C, "NUMPAD5"}, {0x4D, "NUMPAD6"}, {0x4E, "ADD"},
    {0x4F, "NUMPAD1"}, {0x50, "NUMPAD2"}, {0x51, "NUMPAD3"}, {0x52, "NUMPAD0"}, {0x53, "DEC"},
    {0x57, "F11"}, {0x58, "F12"},
    {kE0 + 0x1C, "ENTER"}, {kE0 + 0x1D, "CTRL"}, {kE0 + 0x35, "DIV"}, {kE0 + 0x37, "PRTSC"},
    {kE0 + 0x38, "ALT"}, {kE0 + 0x45, "PAUSE"}, {kE0 + 0x47, "HOME"}, {kE0 + 0x49, "PGUP"},
    {kE0 + 0x4F, "END"}, {kE0 + 0x51, "PGDN"}, {kE0 + 0x52, "INS"}, {kE0 + 0x53, "DEL"},
    {kE0 + 0x5B, "WIN"}, {kE0 + 0x5C, "WINR"}, {kE0 + 0x5D, "APPS"},
    {kArrow + 0x48, "UP"}, {kArrow + 0x4B, "LEFT"}, {kArrow + 0x4D, "RIGHT"},
    {kArrow + 0x50, "DOWN"},
};

struct RecordingNumber {
    unsigned fileNumber;
    unsigned scancode;
};

// Linux input key codes from 96 up, where they part from the scancodes.
constexpr RecordingNumber kExtendedRecordings[] = {
    {96, kE0 + 0x1C},     {97, kE0 + 0x1D},     {98, kE0 + 0x35},     {99, kE0 + 0x37},
    {100, kE0 + 0x38},    {102, kE0 + 0x47},    {103, kArrow + 0x48}, {104, kE0 + 0x49},
    {105, kArrow + 0x4B}, {106, kArrow + 0x4D}, {107, kE0 + 0x4F},    {108, kArrow + 0x50},
    {109, kE0 + 0x51},    {110, kE0 + 0x52},    {111, kE0 + 0x53},    {119, kE0 + 0x45},
    {125, kE0 + 0x5B},    {126, kE0 + 0x5C},    {127, kE0 + 0x5D},
};

// Below this the Linux key code is the scancode itself (Esc 1 to F12 88).
constexpr unsigned kFirstLinuxOnlyNumber = 0x59;

}  // namespace

const ScancodeKey* ScancodeKeysBegin() { return std::begin(kScancodeKeys); }
const ScancodeKey* ScancodeKeysEnd() { return std::end(kScancodeKeys); }

unsigned ScancodeOfRecording(unsigned fileNumber)
{
    if (fileNumber > 0 && fileNumber < kFirstLinuxOnlyNumber)
        return fileNumber;
    for (const RecordingNumber& r : kExtendedRecordings)
        if (r.fileNumber == fileNumber)
            return r.scancode;
    return 0;
}

schemegen::SoundRole RoleOfKey(const std::string& keyName)
{
    using schemegen::SoundRole;
    if (keyName.size() == 1 && std::isupper(static_cast<unsigned char>(keyName[0])))
        return SoundRole::Letter;
    for (const std::string& digit : schemegen::DigitKeyNames())
        if (digit == keyName)
            return SoundRole::Digit;
    for (const std::string& function : schemegen::FunctionKeyNames())
        if (function == keyName)
            return SoundRole::Function;
    for (const schemegen::NamedKey& key : schemegen::SingleKeys())
        if (keyName == key.name)
            return key.role;
    return SoundRole::Letter;
}

}  // namespace recorded
