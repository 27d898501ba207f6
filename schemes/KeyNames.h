#pragma once
// The key vocabulary shared by scheme files, the scheme editor and the sound lookup:
// key names and their codes, the three key groups and the editor's fixed key list.

#include <array>
#include <cstddef>

// Key code of a name from the key table, or 0 when the name is not in it. The comparison is
// exact and case-sensitive; group names ("DIGITS", "CHARS", "FUNCS") are not key names.
unsigned KeyCodeFromName(const char* name);

// The first name the key table gives the code ("WIN" for 91), or nullptr for a code without one.
const char* KeyNameOfCode(unsigned code);

// A group word of a scheme file and the key codes it sets, in the order they are set.
struct KeyGroup {
    const char* name;
    const unsigned char* codes;
    size_t codeCount;
};

// The group whose name is exactly upperName (callers upper-case user text first), or nullptr.
const KeyGroup* FindKeyGroup(const char* upperName);

// The keys the scheme editor shows and the scheme writer saves, in row order.
constexpr size_t kEditableKeyCount = 75;
extern const std::array<const char*, kEditableKeyCount> EditableKeyNames;
