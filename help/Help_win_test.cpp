#include "help/Help.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Help, HelpFileLiesBesideTheProgram) {
    char programPath[MAX_PATH];
    GetModuleFileNameA(nullptr, programPath, sizeof(programPath));
    std::string folder = programPath;
    folder.resize(folder.rfind('\\') + 1);
    HelpInit();
    EXPECT_EQ(std::string(HelpFilePath()), folder + "Help.chm");
    HelpRelease();
    HelpRelease();  // a second release finds nothing to release
}

}  // namespace
