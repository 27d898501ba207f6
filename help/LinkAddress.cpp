#include "help/LinkAddress.h"

#include <cstddef>

namespace {

constexpr const char* kOpenablePrefixes[] = {"http://", "https://", "mailto:"};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size() || AsciiLower(text[i]) != prefix[i]) return false;
    }
    return text.size() > i;
}

}  // namespace

bool IsOpenableLinkAddress(const std::string& address) {
    for (char c : address) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte <= ' ' || byte == 0x7F || c == '"') return false;
    }
    for (const char* prefix : kOpenablePrefixes) {
        if (StartsWithIgnoringCase(address, prefix)) return true;
    }
    return false;
}
