#include "hook/HelperCommandLine.h"

#include "hook/QuotedCommandLine.h"

#include <cstdio>

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool BuildHelperCommandLine(const char* exePath, uint32_t window, char* out, size_t outSize) {
    char argument[16] = "";
    if (window != 0) {
        snprintf(argument, sizeof argument, "%lu", static_cast<unsigned long>(window));
    }
    return BuildQuotedCommandLine(exePath, argument, out, outSize);
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

