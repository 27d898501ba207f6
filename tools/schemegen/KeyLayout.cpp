#include "tools/schemegen/KeyLayout.h"

#include <cctype>
#include <cstring>
#include <string>

namespace schemegen {

namespace {

struct Row {
    const char* keys;
    double firstColumn;  // stagger of the row in key widths
    int firstDegree;
};

// Top, home and bottom letter rows of a US layout.
const Row kLetterRows[] = {
    {"QWERTYUIOP", 0.0, 4},
    {"ASDFGHJKL", 0.25, 2},
    {"ZXCVBNM", 0.75, 0},
};

bool FindLetter(char letter, const Row*& row, int& position)
{
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(letter)));
    for (const Row& r : kLetterRows) {
        const char* hit = std::strchr(r.keys, upper);
        if (upper != '\0' && hit != nullptr) {
            row = &r;
            position = static_cast<int>(hit - r.keys);
            return true;
        }
    }
    return false;
}

std::vector<std::string> NumberedNames(const char* prefix, int first, int last)
{
    std::vector<std::string> names;
    for (int i = first; i <= last; ++i)
        names.push_back(prefix + std::to_string(i));
    return names;
}

}  // namespace

const std::vector<NamedKey>& SingleKeys()
{
    static const std::vector<NamedKey> keys = {
        {"BACK", SoundRole::Backspace},
        {"TAB", SoundRole::Tab},
        {"ESC", SoundRole::Escape},
        {"ENTER", SoundRole::Enter},
        {"SPACE", SoundRole::Space},
        {"ALT", SoundRole::Modifier},
        {"CTRL", SoundRole::Modifier},
        {"SHIFT", SoundRole::Modifier},
        {"WIN", SoundRole::Modifier},
        {"INS", SoundRole::Navigation},
        {"DEL", SoundRole::Backspace},
        {"HOME", SoundRole::Navigation},
        {"END", SoundRole::Navigation},
        {"PGUP", SoundRole::Navigation},
        {"PGDN", SoundRole::Navigation},
        {"DIV", SoundRole::Punctuation},
        {"MUL", SoundRole::Punctuation},
        {"SUB", SoundRole::Punctuation},
        {"ADD", SoundRole::Punctuation},
        {"DEC", SoundRole::Punctuation},
        {"SEMICLN", SoundRole::Punctuation},
        {"UNDER", SoundRole::Punctuation},
        {"EQUAL", SoundRole::Punctuation},
        {"OPENBR", SoundRole::Punctuation},
        {"CLOSEBR", SoundRole::Punctuation},
        {"APOSTRF", SoundRole::Punctuation},
        {"COMMA", SoundRole::Punctuation},
        {"POINT", SoundRole::Punctuation},
        {"SLASH", SoundRole::Punctuation},
        // Beyond the editor's list.
        {"LEFT", SoundRole::Navigation},
        {"RIGHT", SoundRole::Navigation},
        {"UP", SoundRole::Navigation},
        {"DOWN", SoundRole::Navigation},
        {"CAPSLOCK", SoundRole::Lock},
        {"NUMLOCK", SoundRole::Lock},
        {"SCROLL", SoundRole::Lock},
        {"WINR", SoundRole::Modifier},
        {"APPS", SoundRole::Modifier},
        {"PRTSC", SoundRole::Function},
        {"PAUSE", SoundRole::Function},
        {"CLEAR", SoundRole::Function},
    };
    return keys;
}

const std::vector<std::string>& DigitKeyNames()
{
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all = NumberedNames("NUMPAD", 0, 9);
        const std::vector<std::string> top = NumberedNames("D", 0, 9);
        all.insert(all.end(), top.begin(), top.end());
        return all;
    }();
    return names;
}

const std::vector<std::string>& FunctionKeyNames()
{
    static const std::vector<std::string> names = NumberedNames("F", 1, 24);
    return names;
}

int LetterDegree(char letter)
{
    const Row* row = nullptr;
    int position = 0;
    return FindLetter(letter, row, position) ? row->firstDegree + position : 0;
}

int DigitDegree(int digit)
{
    // The number row reads 1..9 then 0, and starts two degrees above the top letter row.
    const int position = digit == 0 ? 9 : digit - 1;
    return 6 + position;
}

double LetterPan(char letter)
{
    const Row* row = nullptr;
    int position = 0;
    if (!FindLetter(letter, row, position))
        return 0;
    const double column = row->firstColumn + position;  // 0 (Q) .. 9 (P)
    // Kept within +-0.6: keys should sit left and right, not hop between the ears.
    return 0.6 * (column - 4.5) / 4.5;
}

double RolePan(SoundRole role)
{
    switch (role) {
    case SoundRole::Enter:
    case SoundRole::Backspace: return 0.55;
    case SoundRole::Navigation: return 0.5;
    case SoundRole::Punctuation: return 0.4;
    case SoundRole::Tab: return -0.5;
    case SoundRole::Escape: return -0.6;
    case SoundRole::Lock: return -0.45;
    default: return 0;
    }
}

}  // namespace schemegen
