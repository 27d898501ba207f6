#include "schemes/PackFileName.h"

#include <algorithm>

#include "schemes/SchemeName.h"

namespace {

// Windows drops the trailing dots and blanks of a part, so ".. " and "..." lead out of the
// folder as ".." does; and a device name would open the device.
bool IsForbiddenPart(std::string_view part) {
    const bool onlyDotsAndBlanks = part.find_first_not_of(". ") == std::string_view::npos;
    return (onlyDotsAndBlanks && std::count(part.begin(), part.end(), '.') >= 2) ||
           IsDeviceName(part);
}

bool IsForbiddenByte(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == ':';
}

}  // namespace

bool IsSafePackFileName(std::string_view name) {
    if (name.empty() || name.front() == '/' || name.front() == '\\') return false;
    if (std::any_of(name.begin(), name.end(), IsForbiddenByte)) return false;
    size_t partStart = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        const bool end = i == name.size();
        if (!end && name[i] != '/' && name[i] != '\\') continue;
        const std::string_view part = name.substr(partStart, i - partStart);
        if (IsForbiddenPart(part) || (end && part.empty())) return false;
        partStart = i + 1;
    }
    return true;
}
