#include "tests/tools/ToolArgs.h"

namespace {

int DigitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9') value = c - '0';
    else if (c >= 'a' && c <= 'f') value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F') value = c - 'A' + 10;
    return value < base ? value : -1;
}

}  // namespace

bool ParseUnsignedArg(const char* text, uint64_t maxValue, uint64_t* value) {
    if (!text || !value) return false;
    int base = 10;
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text += 2;
    }
    if (*text == '\0') return false;
    uint64_t result = 0;
    for (; *text; ++text) {
        int digit = DigitValue(*text, base);
        if (digit < 0) return false;
        // Checked before the multiply so that no step can wrap around.
        if (result > (maxValue - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) {
            return false;
        }
        result = result * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
    }
    *value = result;
    return true;
}

bool ParseSignedArg(const char* text, int64_t minValue, int64_t maxValue, int64_t* value) {
    if (!text || !value || minValue > maxValue) return false;
    uint64_t magnitude = 0;
    if (text[0] == '-') {
        if (text[1] == '0' && (text[2] == 'x' || text[2] == 'X')) return false;
        if (minValue >= 0) return false;
        // The magnitude of minValue, computed without negating INT64_MIN.
        uint64_t limit = static_cast<uint64_t>(-(minValue + 1)) + 1;
        if (!ParseUnsignedArg(text + 1, limit, &magnitude)) return false;
        *value = magnitude == 0 ? 0 : -static_cast<int64_t>(magnitude - 1) - 1;
        return *value <= maxValue;
    }
    if (maxValue < 0) return false;
    if (!ParseUnsignedArg(text, static_cast<uint64_t>(maxValue), &magnitude)) return false;
    *value = static_cast<int64_t>(magnitude);
    return *value >= minValue;
}

bool ParseHexBytes(const char* text, uint8_t* bytes, uint32_t capacity, uint32_t* byteCount) {
    if (!text || !byteCount) return false;
    uint32_t count = 0;
    while (text[0] != '\0') {
        int high = DigitValue(text[0], 16);
        if (high < 0) return false;
        int low = DigitValue(text[1], 16);
        if (low < 0) return false;
        if (count >= capacity) return false;
        bytes[count++] = static_cast<uint8_t>(high * 16 + low);
        text += 2;
    }
    *byteCount = count;
    return true;
}
