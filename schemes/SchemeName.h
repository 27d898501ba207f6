#pragma once
// What a scheme name typed in the editor may be: a folder name Windows can create, that the
// scheme list shows and that the scheme set can load.

#include "schemes/AnsiText.h"

#include <string_view>

// Why a name is refused; None when it is a usable scheme name.
enum class SchemeNameFault {
    None,
    EmptyOrDot,          // empty, "." or "..", or begins with "." (the scheme list hides those)
    ForbiddenCharacter,  // \ / : * ? " < > | or a control character
    DeviceName,          // CON, PRN, AUX, NUL, COM1..COM9, LPT1..LPT9, also with an extension
    TrailingDotOrBlank,  // Windows drops these from a folder name
    TooLong,             // more than the scheme set loads
};

// Whether a single-byte character cannot stand in a folder name: \ / : * ? " < > | or a
// control character.
bool IsForbiddenNameByte(unsigned char c);

// The first fault of the name, in the order listed above; name is ANSI text in the code page
// that isLeadByte describes.
SchemeNameFault FindSchemeNameFault(std::string_view name, LeadBytePredicate isLeadByte);

// Whether Windows opens a device for this file name (CON, NUL, COM1, "con .txt"...) whatever
// extension follows, and blanks before the extension too.
bool IsDeviceName(std::string_view name);
