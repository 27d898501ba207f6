#include "schemes/KeyNames.h"

#include <cstring>

namespace {

struct NamedKey {
    const char* name;
    unsigned char code;
};

// Codes follow the virtual-key numbering, except NUMLOCK (157: the state poll's own code) and
// CLEAR (254, the OEM Clear key).
constexpr NamedKey kKeyTable[] = {
    {"BACK", 8}, {"TAB", 9}, {"ENTER", 13}, {"SHIFT", 16}, {"CTRL", 17}, {"ALT", 18},
    {"PAUSE", 19}, {"CAPSLOCK", 20}, {"ESC", 27}, {"SPACE", 32}, {"PGUP", 33}, {"PGDN", 34},
    {"END", 35}, {"HOME", 36}, {"LEFT", 37}, {"UP", 38}, {"RIGHT", 39}, {"DOWN", 40},
    {"PRTSC", 44}, {"INS", 45}, {"DEL", 46},
    {"D0", 48}, {"D1", 49}, {"D2", 50}, {"D3", 51}, {"D4", 52},
    {"D5", 53}, {"D6", 54}, {"D7", 55}, {"D8", 56}, {"D9", 57},
    {"A", 65}, {"B", 66}, {"C", 67}, {"D", 68}, {"E", 69}, {"F", 70}, {"G", 71}, {"H", 72},
    {"I", 73}, {"J", 74}, {"K", 75}, {"L", 76}, {"M", 77}, {"N", 78}, {"O", 79}, {"P", 80},
    {"Q", 81}, {"R", 82}, {"S", 83}, {"T", 84}, {"U", 85}, {"V", 86}, {"W", 87}, {"X", 88},
    {"Y", 89}, {"Z", 90},
    {"WIN", 91}, {"WINL", 91}, {"WINR", 92}, {"APPS", 93},
    {"NUMPAD0", 96}, {"NUMPAD1", 97}, {"NUMPAD2", 98}, {"NUMPAD3", 99}, {"NUMPAD4", 100},
    {"NUMPAD5", 101}, {"NUMPAD6", 102}, {"NUMPAD7", 103}, {"NUMPAD8", 104}, {"NUMPAD9", 105},
    {"MUL", 106}, {"ADD", 107}, {"SUB", 109}, {"DEC", 110}, {"DIV", 111},
    {"F1", 112}, {"F2", 113}, {"F3", 114}, {"F4", 115}, {"F5", 116}, {"F6", 117},
    {"F7", 118}, {"F8", 119}, {"F9", 120}, {"F10", 121}, {"F11", 122}, {"F12", 123},
    {"F13", 124}, {"F14", 125}, {"F15", 126}, {"F16", 127}, {"F17", 128}, {"F18", 129},
    {"F19", 130}, {"F20", 131}, {"F21", 132}, {"F22", 133}, {"F23", 134}, {"F24", 135},
    {"SCROLL", 145}, {"NUMLOCK", 157},
    {"SEMICLN", 186}, {"EQUAL", 187}, {"COMMA", 188}, {"UNDER", 189}, {"POINT", 190},
    {"SLASH", 191}, {"OPENBR", 219}, {"CLOSEBR", 221}, {"APOSTRF", 222}, {"CLEAR", 254},
};
static_assert(sizeof(kKeyTable) / sizeof(kKeyTable[0]) == 112, "the key table has 112 names");

constexpr unsigned char kDigitCodes[] = {
    96, 97, 98, 99, 100, 101, 102, 103, 104, 105, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57,
};
// Grave accent (192) and backslash (220) have no key name and sound only through this group.
constexpr unsigned char kCharCodes[] = {
    65, 66, 67, 68, 69, 70, 71, 72, 73, 74, 75, 76, 77, 78,
    79, 80, 81, 82, 83, 84, 85, 86, 87, 88, 89, 90, 192, 220,
};
constexpr unsigned char kFunctionCodes[] = {
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123,
    124, 125, 126, 127, 128, 129, 130, 131, 132, 133, 134, 135,
};

constexpr KeyGroup kKeyGroups[] = {
    {"DIGITS", kDigitCodes, sizeof(kDigitCodes)},
    {"CHARS", kCharCodes, sizeof(kCharCodes)},
    {"FUNCS", kFunctionCodes, sizeof(kFunctionCodes)},
};

}  // namespace

unsigned KeyCodeFromName(const char* name) {
    if (name == nullptr) return 0;
    for (const NamedKey& key : kKeyTable) {
        if (std::strcmp(key.name, name) == 0) return key.code;
    }
    return 0;
}

const char* KeyNameOfCode(unsigned code) {
    for (const NamedKey& key : kKeyTable) {
        if (key.code == code) return key.name;
    }
    return nullptr;
}

const KeyGroup* FindKeyGroup(const char* upperName) {
    if (upperName == nullptr) return nullptr;
    for (const KeyGroup& group : kKeyGroups) {
        if (std::strcmp(group.name, upperName) == 0) return &group;
    }
    return nullptr;
}

const std::array<const char*, kEditableKeyCount> EditableKeyNames = {
    "A", "B", "C", "D", "E", "F", "G", "H", "I", "J", "K", "L", "M",
    "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X", "Y", "Z",
    "NUMPAD0", "NUMPAD1", "NUMPAD2", "NUMPAD3", "NUMPAD4",
    "NUMPAD5", "NUMPAD6", "NUMPAD7", "NUMPAD8", "NUMPAD9",
    "D0", "D1", "D2", "D3", "D4", "D5", "D6", "D7", "D8", "D9",
    "BACK", "TAB", "ESC", "ENTER", "SPACE", "ALT", "CTRL", "SHIFT", "WIN", "INS", "DEL",
    "HOME", "END", "PGUP", "PGDN",
    "DIV", "MUL", "SUB", "ADD", "DEC",
    "SEMICLN", "UNDER", "EQUAL", "OPENBR", "CLOSEBR", "APOSTRF", "COMMA", "POINT", "SLASH",
};
