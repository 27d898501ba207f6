#include "schemes/PackFileName.h"

#include <gtest/gtest.h>

#include <string_view>

namespace {

// The one rule for names inside a pack, whether a config.json or a .zip gives them.
TEST(PackFileName, TellsSafeNamesFromUnsafeOnes) {
    const std::pair<std::string_view, bool> cases[] = {
        {"a.wav", true},         {"caps lock.wav", true}, {"[.wav", true},
        {"sub/dir/x.ogg", true}, {"sub\\x.ogg", true},    {"..a.wav", true},
        {"a..wav", true},        {"./a.wav", true},       {"", false},
        {"..", false},           {"a/..", false},         {"../a", false},
        {"a\\..\\b", false},     {".. /a.wav", false},    {".../a.wav", false},
        {"\\server\\x", false},  {"/x", false},           {"c:x.wav", false},
        {"a.wav:stream", false}, {"tab\there", false},    {"con.wav", false},
        {"sub/NUL", false},      {"sub/", false},
    };
    for (const auto& [name, safe] : cases) EXPECT_EQ(IsSafePackFileName(name), safe) << name;
}

}  // namespace
