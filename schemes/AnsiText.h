#pragma once
// ANSI text as the system's code page reads it: under a double-byte code page a character takes
// one byte or two, and the second byte of two may equal "\" or "|".

#include <cstddef>
#include <string_view>

// Whether a byte begins a two-byte character in the code page the text is written in.
using LeadBytePredicate = bool (*)(unsigned char);

// The bytes of the character that begins at index: 2 for a lead byte with a byte after it,
// else 1.
inline size_t CharacterBytes(std::string_view text, size_t index, LeadBytePredicate isLeadByte) {
    const bool lead = isLeadByte(static_cast<unsigned char>(text[index]));
    return lead && index + 1 < text.size() ? 2 : 1;
}

inline char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? char(c - 'a' + 'A') : c; }

// Equal but for the case of ASCII letters, the way Windows compares folder names of ASCII
// letters; the second byte of a two-byte character is never a letter to fold.
inline bool EqualIgnoringAsciiCase(std::string_view a, std::string_view b,
                                   LeadBytePredicate isLeadByte) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0, bytes = 1; i < a.size(); i += bytes) {
        bytes = CharacterBytes(a, i, isLeadByte);
        const bool same = bytes == 2 ? a.substr(i, 2) == b.substr(i, 2)
                                     : UpperAscii(a[i]) == UpperAscii(b[i]);
        if (!same) return false;
    }
    return true;
}
