#include "app/ProgramPaths.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct FolderCase {
    const char* path;
    const char* folder;
};

TEST(ProgramPaths, FolderEndsAtTheLastBackslashOrColon) {
    const FolderCase cases[] = {
        {"C:\\Apps\\Tapvox.exe", "C:\\Apps\\"},
        {"C:Tapvox.exe", "C:"},
        {"Tapvox.exe", ""},
        {"\\\\server\\share\\dir\\Tapvox.exe", "\\\\server\\share\\dir\\"},
        {"C:\\Apps/sub/Tapvox.exe", "C:\\"},
        {"", ""},
    };
    for (const FolderCase& c : cases) {
        EXPECT_EQ(std::string(c.path, ProgramFolderLength(c.path)), c.folder) << c.path;
    }
}

}  // namespace
