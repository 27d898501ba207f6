#include "schemes/SchemeName.h"

#include "schemes/SoundSchemesList.h"

#include <cstring>

namespace {

bool NoLeadBytes(unsigned char) { return false; }

}  // namespace

bool IsForbiddenNameByte(unsigned char c) {
    return c < 0x20 || std::strchr("\\/:*?\"<>|", c) != nullptr;
}

// Device names are ASCII, so a byte of a two-byte character never matches one.
bool IsDeviceName(std::string_view name) {
    std::string_view base = name.substr(0, name.find('.'));
    while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
    for (const char* device : {"CON", "PRN", "AUX", "NUL"}) {
        if (EqualIgnoringAsciiCase(base, device, NoLeadBytes)) return true;
    }
    if (base.size() != 4 || base[3] < '1' || base[3] > '9') return false;
    const std::string_view stem = base.substr(0, 3);
    return EqualIgnoringAsciiCase(stem, "COM", NoLeadBytes) ||
           EqualIgnoringAsciiCase(stem, "LPT", NoLeadBytes);
}

SchemeNameFault FindSchemeNameFault(std::string_view name, LeadBytePredicate isLeadByte) {
    if (name.empty() || name.front() == '.') return SchemeNameFault::EmptyOrDot;
    char last = '\0';  // the last single-byte character
    for (size_t i = 0, bytes = 1; i < name.size(); i += bytes) {
        bytes = CharacterBytes(name, i, isLeadByte);
        const unsigned char c = static_cast<unsigned char>(name[i]);
        if (bytes == 1 && IsForbiddenNameByte(c)) return SchemeNameFault::ForbiddenCharacter;
        last = bytes == 1 ? static_cast<char>(c) : '\0';
    }
    if (IsDeviceName(name)) return SchemeNameFault::DeviceName;
    if (last == '.' || last == ' ') return SchemeNameFault::TrailingDotOrBlank;
    if (name.size() > kMaxSchemeNameChars) return SchemeNameFault::TooLong;
    return SchemeNameFault::None;
}
