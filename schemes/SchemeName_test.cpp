#include "schemes/SchemeName.h"

#include <gtest/gtest.h>

#include <string>

namespace {

bool NoLeadBytes(unsigned char) { return false; }

// Lead bytes of code page 932 (Shift-JIS).
bool ShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

std::string Repeated(const char* text, int times) {
    std::string repeated;
    for (int i = 0; i < times; ++i) repeated += text;
    return repeated;
}

struct NameCase {
    std::string name;
    SchemeNameFault fault;
    LeadBytePredicate isLeadByte = NoLeadBytes;
};

const NameCase kNames[] = {
    {"NewScheme", SchemeNameFault::None},
    {"Stereo Mechanical", SchemeNameFault::None},
    {" leading blank", SchemeNameFault::None},
    {"v1.2", SchemeNameFault::None},
    {"Sch\xE9ma", SchemeNameFault::None},        // é in code page 1252
    {"\x83\x5C\x83t\x83g", SchemeNameFault::None, ShiftJisLeadByte},  // ソフト: 0x5C is a second byte
    {"CONSOLE", SchemeNameFault::None},
    {"COM10", SchemeNameFault::None},
    {"LPT0", SchemeNameFault::None},
    {"xCON", SchemeNameFault::None},
    {std::string(24, 'n'), SchemeNameFault::None},
    {Repeated("\x83t", 12), SchemeNameFault::None, ShiftJisLeadByte},
    {"ab\x83", SchemeNameFault::None, ShiftJisLeadByte},  // a lead byte without its second

    {"", SchemeNameFault::EmptyOrDot},
    {".", SchemeNameFault::EmptyOrDot},
    {"..", SchemeNameFault::EmptyOrDot},
    {".hidden", SchemeNameFault::EmptyOrDot},

    {"a\\b", SchemeNameFault::ForbiddenCharacter},
    {"..\\..\\Windows", SchemeNameFault::EmptyOrDot},
    {"a/b", SchemeNameFault::ForbiddenCharacter},
    {"c:", SchemeNameFault::ForbiddenCharacter},
    {"a*", SchemeNameFault::ForbiddenCharacter},
    {"a?", SchemeNameFault::ForbiddenCharacter},
    {"say \"hi\"", SchemeNameFault::ForbiddenCharacter},
    {"<a>", SchemeNameFault::ForbiddenCharacter},
    {"a|b", SchemeNameFault::ForbiddenCharacter},
    {"tab\there", SchemeNameFault::ForbiddenCharacter},
    {"a\x1F", SchemeNameFault::ForbiddenCharacter},
    {"\x83\x5C", SchemeNameFault::ForbiddenCharacter},  // in a single-byte code page, a backslash
    {"\x83\x5C\\", SchemeNameFault::ForbiddenCharacter, ShiftJisLeadByte},  // then a backslash

    {"CON", SchemeNameFault::DeviceName},
    {"prn", SchemeNameFault::DeviceName},
    {"Aux", SchemeNameFault::DeviceName},
    {"nul.wav", SchemeNameFault::DeviceName},
    {"COM1", SchemeNameFault::DeviceName},
    {"com9.tar.gz", SchemeNameFault::DeviceName},
    {"LPT5", SchemeNameFault::DeviceName},
    {"CON .txt", SchemeNameFault::DeviceName},

    {"Scheme.", SchemeNameFault::TrailingDotOrBlank},
    {"Scheme ", SchemeNameFault::TrailingDotOrBlank},
    {" ", SchemeNameFault::TrailingDotOrBlank},
    {"\x83t.", SchemeNameFault::TrailingDotOrBlank, ShiftJisLeadByte},

    {std::string(25, 'n'), SchemeNameFault::TooLong},
    {Repeated("\x83t", 13), SchemeNameFault::TooLong, ShiftJisLeadByte},  // 13 characters, 26 bytes
};

TEST(SchemeName, EachNameGetsItsFault) {
    for (const NameCase& c : kNames) {
        EXPECT_EQ(FindSchemeNameFault(c.name, c.isLeadByte), c.fault) << '"' << c.name << '"';
    }
}

}  // namespace
