#include "hook/HelperCommandLine.h"

#include <cstdio>
#include <cstring>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool Fail(char* out, size_t outSize) {
    if (outSize > 0) out[0] = '\0';
    return false;
}

}  // namespace

bool BuildHelperCommandLine(const char* exePath, uint32_t window, char* out, size_t outSize) {
    if (out == nullptr || outSize == 0) return false;
    if (exePath == nullptr || exePath[0] == '\0' || strchr(exePath, '"') != nullptr)
        return Fail(out, outSize);
    const int written = window != 0
                            ? snprintf(out, outSize, "\"%s\" %lu", exePath,
                                       static_cast<unsigned long>(window))
                            : snprintf(out, outSize, "\"%s\"", exePath);
    if (written < 0 || static_cast<size_t>(written) >= outSize) return Fail(out, outSize);
    return true;
}

bool ParseHelperWindowArgument(const char* arguments, uint32_t* window) {
    if (arguments == nullptr || window == nullptr) return false;
    const char* p = arguments;
    while (IsBlank(*p)) ++p;
    uint64_t value = 0;
    const char* digitsStart = p;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 + static_cast<uint64_t>(*p - '0');
        if (value > UINT32_MAX) return false;
    }
    if (p == digitsStart) return false;
    while (IsBlank(*p)) ++p;
    if (*p != '\0' || value == 0) return false;
    *window = static_cast<uint32_t>(value);
    return true;
}

