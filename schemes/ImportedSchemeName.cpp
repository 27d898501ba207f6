#include "schemes/ImportedSchemeName.h"

#include "schemes/KeyNames.h"
#include "schemes/SchemeName.h"
#include "schemes/SoundSchemesList.h"

namespace {

// What a pack without a usable name is called.
constexpr char kUnnamedPack[] = "Imported pack";
constexpr int kMaxNameNumber = 99;

bool IsTrimmed(char c) { return c == ' ' || c == '.'; }

// Cut to at most maxBytes without splitting a two-byte character, then without the full stops
// and blanks Windows would drop from the end of a folder name.
std::string CutName(const std::string& name, size_t maxBytes, LeadBytePredicate isLeadByte) {
    size_t end = 0;
    for (size_t i = 0, bytes = 1; i < name.size(); i += bytes) {
        bytes = CharacterBytes(name, i, isLeadByte);
        if (i + bytes > maxBytes) break;
        end = i + bytes;
    }
    std::string cut = name.substr(0, end);
    while (!cut.empty() && IsTrimmed(cut.back())) cut.pop_back();
    return cut;
}

std::string CleanName(const std::string& packName, LeadBytePredicate isLeadByte) {
    std::string clean;
    for (size_t i = 0, bytes = 1; i < packName.size(); i += bytes) {
        bytes = CharacterBytes(packName, i, isLeadByte);
        std::string character = packName.substr(i, bytes);
        if (bytes == 1 && IsForbiddenNameByte(static_cast<unsigned char>(character[0])))
            character = "_";
        // The scheme list hides names that begin with a full stop.
        if (clean.empty() && IsTrimmed(character[0])) continue;
        clean += character;
    }
    clean = CutName(clean, kMaxSchemeNameChars, isLeadByte);
    if (clean.empty()) return kUnnamedPack;
    // "CON" and its like name a device, whatever follows the full stop.
    if (FindSchemeNameFault(clean, isLeadByte) == SchemeNameFault::DeviceName)
        clean = "_" + CutName(clean, kMaxSchemeNameChars - 1, isLeadByte);
    return clean;
}

}  // namespace

std::string ImportedSchemeName(const std::string& packName, LeadBytePredicate isLeadByte,
                               const std::function<bool(const std::string&)>& taken) {
    const std::string base = CleanName(packName, isLeadByte);
    for (int number = 1; number <= kMaxNameNumber; ++number) {
        std::string name = base;
        if (number > 1) {
            const std::string suffix = " " + std::to_string(number);
            name = CutName(base, kMaxSchemeNameChars - suffix.size(), isLeadByte) + suffix;
        }
        if (FindSchemeNameFault(name, isLeadByte) == SchemeNameFault::None && !taken(name))
            return name;
    }
    return {};
}

std::string ImportedSoundFileName(unsigned keyCode, bool release) {
    const char* keyName = KeyNameOfCode(keyCode);
    const std::string stem = keyName ? keyName : "KEY" + std::to_string(keyCode);
    return stem + (release ? "-up.wav" : ".wav");
}
