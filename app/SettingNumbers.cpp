#include "app/SettingNumbers.h"

#include <climits>
#include <cstdio>

namespace {

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

}  // namespace

int ParseSettingInt(const char* text) {
    const char* p = text;
    while (IsCBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulated as a negative number, whose range holds INT_MIN.
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 - (*p - '0');
        if (value < INT_MIN) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) return static_cast<int>(value);
    return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}

bool FormatSettingInt(int value, char* out, size_t outSize) {
    const int written = std::snprintf(out, outSize, "%d", value);
    return written > 0 && static_cast<size_t>(written) < outSize;
}

int SettingIntFromText(const char* text, int defaultValue) {
    return text[0] == '\0' ? defaultValue : ParseSettingInt(text);
}
