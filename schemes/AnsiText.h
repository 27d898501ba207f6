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
