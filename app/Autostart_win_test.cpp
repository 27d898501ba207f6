#include "app/Autostart_win.h"

#include "tests/RegistryTestValues_win.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST_F(RegistrySettings, AutostartWithoutRunKeyWritesNothing) {
    EXPECT_FALSE(SetAutostartFor(kMissingRunKey, "C:\\Apps\\Tapvox.exe", true));
    EXPECT_FALSE(KeyExists(kMissingRunKey));
    EXPECT_FALSE(IsAutostartSetFor(kMissingRunKey, "C:\\Apps\\Tapvox.exe"));
    EXPECT_FALSE(KeyExists(kMissingRunKey));
}

TEST_F(RegistrySettings, AutostartEntryNamesTheLauncherOfThisFolder) {
    SetText(kTestRunKey, "Other", "x");
    ASSERT_TRUE(SetAutostartFor(kTestRunKey, "C:\\Apps\\Tapvox.exe", true));
    EXPECT_EQ(StoredValue(kTestRunKey, "Tapvox"),
              std::make_pair(DWORD{REG_SZ}, std::string("\"C:\\Apps\\Launcher.exe\"")));

    struct Case {
        const char* programPath;
        bool set;
    };
    const Case cases[] = {
        {"C:\\Apps\\Tapvox.exe", true},
        {"c:\\APPS\\other-name.exe", true},     // same folder, any case
        {"C:\\Moved\\Tapvox.exe", false},       // the program moved
        {"C:\\Apps\\Sub\\Tapvox.exe", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsAutostartSetFor(kTestRunKey, c.programPath), c.set) << c.programPath;
    }

    ASSERT_TRUE(SetAutostartFor(kTestRunKey, "C:\\Apps\\Tapvox.exe", false));
    EXPECT_EQ(StoredValue(kTestRunKey, "Tapvox").first, 0u);
    EXPECT_FALSE(IsAutostartSetFor(kTestRunKey, "C:\\Apps\\Tapvox.exe"));
    EXPECT_FALSE(SetAutostartFor(kTestRunKey, "C:\\Apps\\Tapvox.exe", false))
        << "removing an absent entry is a failed registry call";
    EXPECT_EQ(StoredValue(kTestRunKey, "Other").second, "x");
}

TEST_F(RegistrySettings, HandWrittenAutostartEntriesDoNotCount) {
    const char* entries[] = {
        "C:\\Apps\\Launcher.exe",            // no quotes
        "\"C:\\Apps\\Launcher.exe\" /min",   // arguments
        "",                                  // empty
        "\"",                                // a lone quote
    };
    for (const char* entry : entries) {
        SetText(kTestRunKey, "Tapvox", entry);
        EXPECT_FALSE(IsAutostartSetFor(kTestRunKey, "C:\\Apps\\Tapvox.exe")) << entry;
    }
    SetText(kTestRunKey, "Tapvox", "XC:\\Apps\\Launcher.exe\"");
    EXPECT_TRUE(IsAutostartSetFor(kTestRunKey, "C:\\Apps\\Tapvox.exe"))
        << "the first character is not examined";
}

TEST_F(RegistrySettings, AutostartForAVeryLongPathWritesNothing) {
    const std::string folder = "C:\\" + std::string(250, 'L') + "\\";
    const std::string path = folder + "Tapvox.exe";
    SetText(kTestRunKey, "Other", "x");
    EXPECT_FALSE(SetAutostartFor(kTestRunKey, path.c_str(), true));
    EXPECT_EQ(StoredValue(kTestRunKey, "Tapvox").first, 0u);
    EXPECT_FALSE(IsAutostartSetFor(kTestRunKey, path.c_str()));

    // An entry from a shorter folder stays as it was.
    ASSERT_TRUE(SetAutostartFor(kTestRunKey, "C:\\Apps\\Tapvox.exe", true));
    EXPECT_FALSE(SetAutostartFor(kTestRunKey, path.c_str(), true));
    EXPECT_EQ(StoredValue(kTestRunKey, "Tapvox").second, "\"C:\\Apps\\Launcher.exe\"");
}

}  // namespace
