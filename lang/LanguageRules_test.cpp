#include "lang/LanguageRules.h"

#include <gtest/gtest.h>

namespace {

TEST(LanguageRules, OwnResourcesForEmptyOrEnglishInAnyCase) {
    const struct {
        const char* name;
        bool own;
    } cases[] = {
        {"", true},         {"English", true},   {"ENGLISH", true},  {"eNgLiSh", true},
        {"Russian", false}, {"Englis", false},   {"English ", false}, {" English", false},
        {"Englishh", false}, {"E", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsOwnLanguageName(c.name), c.own) << '"' << c.name << '"';
}

TEST(LanguageRules, ModulePathIsRelativeUnderLngs) {
    EXPECT_EQ(LanguageModulePath("Russian"), "Lngs\\Russian.lng");
    const std::string longName(63, 'x');
    EXPECT_EQ(LanguageModulePath(longName.c_str()), "Lngs\\" + longName + ".lng");
}

// Versions as fixed-file halves: ms = major << 16 | minor, ls = release << 16 | build.
TEST(LanguageRules, VersionsAgreeUpToTheBuild) {
    const uint32_t programMs = (2u << 16) | 5u;
    const uint32_t programLs = (1u << 16) | 0u;
    const struct {
        uint32_t ms;
        uint32_t ls;
        bool agree;
    } cases[] = {
        {(2u << 16) | 5u, (1u << 16) | 9u, true},        // 2.5.1.9
        {(2u << 16) | 5u, (1u << 16) | 0xFFFFu, true},   // 2.5.1.65535
        {(2u << 16) | 5u, (2u << 16) | 0u, false},       // 2.5.2.0
        {(2u << 16) | 6u, (1u << 16) | 0u, false},       // 2.6.1.0
        {(3u << 16) | 5u, (1u << 16) | 0u, false},       // 3.5.1.0
        {0u, 0u, false},                                 // no version information
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LanguageVersionsAgree(c.ms, c.ls, programMs, programLs), c.agree)
            << std::hex << c.ms << ' ' << c.ls;
    }
}

}  // namespace
