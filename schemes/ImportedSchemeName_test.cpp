#include "schemes/ImportedSchemeName.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

bool NoLeadBytes(unsigned char) { return false; }

// Lead bytes of code page 932 (Shift-JIS), whose second bytes may equal a backslash.
bool ShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

struct NameCase {
    const char* what;
    std::string packName;
    std::set<std::string> taken;
    std::string expected;
    LeadBytePredicate isLeadByte = NoLeadBytes;
};

const NameCase kNames[] = {
    {"kept as it is", "Cherry MX Blue", {}, "Cherry MX Blue"},
    {"forbidden characters", "a/b\\c:d*e?f\"g<h>i|j", {}, "a_b_c_d_e_f_g_h_i_j"},
    {"control characters", "tab\there", {}, "tab_here"},
    {"leading dots and blanks go", " ..hidden", {}, "hidden"},
    {"trailing dots and blanks go", "pack. . ", {}, "pack"},
    {"cut to 24", "Topre Realforce 87U 55g silenced", {}, "Topre Realforce 87U 55g"},
    {"cut then trimmed", "Holy Pandas on aluminium. Lubed", {}, "Holy Pandas on aluminium"},
    {"empty", "", {}, "Imported pack"},
    {"only dots", "...", {}, "Imported pack"},
    {"a device name", "con", {}, "_con"},
    {"a device name with an extension", "NUL.pack", {}, "_NUL.pack"},
    {"taken", "Pack", {"Pack"}, "Pack 2"},
    {"taken twice", "Pack", {"Pack", "Pack 2"}, "Pack 3"},
    {"taken at full length", std::string(24, 'x'), {std::string(24, 'x')},
     std::string(22, 'x') + " 2"},
    {"cut for the number, then trimmed", "abcdefghijklmnopqrstu. xyz", {"abcdefghijklmnopqrstu. x"},
     "abcdefghijklmnopqrstu 2"},
    {"two-byte characters are not split", std::string(23, 'a') + "\x83\x5C", {},
     std::string(23, 'a'), ShiftJisLeadByte},
    {"a second byte that equals a backslash stays", "\x83\x5C", {}, "\x83\x5C", ShiftJisLeadByte},
    {"the same byte alone is a backslash", "\x83\x5C", {}, "\x83_"},
};

TEST(ImportedSchemeName, FromThePacksName) {
    for (const NameCase& c : kNames) {
        const auto taken = [&c](const std::string& name) { return c.taken.count(name) != 0; };
        const std::string name = ImportedSchemeName(c.packName, c.isLeadByte, taken);
        EXPECT_EQ(name, c.expected) << c.what;
        EXPECT_LE(name.size(), 24u) << c.what;
    }
}

TEST(ImportedSchemeName, EmptyWhenNoNumberIsFree) {
    EXPECT_EQ(ImportedSchemeName("Pack", NoLeadBytes, [](const std::string&) { return true; }), "");
}

TEST(ImportedSoundFileName, NamesEveryKeyWithoutBlanks) {
    const struct {
        unsigned code;
        bool release;
        const char* expected;
    } kFiles[] = {
        {65, false, "A.wav"},          {65, true, "A-up.wav"},
        {32, false, "SPACE.wav"},      {91, true, "WIN-up.wav"},
        {157, true, "NUMLOCK-up.wav"}, {192, false, "KEY192.wav"},
        {220, true, "KEY220-up.wav"},
    };
    for (const auto& f : kFiles)
        EXPECT_EQ(ImportedSoundFileName(f.code, f.release), f.expected) << f.code;
}

}  // namespace
