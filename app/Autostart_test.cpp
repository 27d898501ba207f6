#include "app/Autostart.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

TEST(Autostart, CommandIsTheQuotedLauncherBesideTheProgram) {
    char command[260];
    ASSERT_TRUE(BuildAutostartCommand("C:\\Apps\\Tapvox.exe", command, sizeof(command)));
    EXPECT_STREQ(command, "\"C:\\Apps\\Launcher.exe\"");
    ASSERT_TRUE(BuildAutostartCommand("Tapvox.exe", command, sizeof(command)));
    EXPECT_STREQ(command, "\"Launcher.exe\"");
}

// The command is 2 quotes + folder + 12 characters of "Launcher.exe" + the terminating zero.
TEST(Autostart, CommandThatDoesNotFitIsRefusedWhole) {
    const std::string folder = "C:\\" + std::string(240, 'd') + "\\";
    const std::string path = folder + "Tapvox.exe";
    const size_t needed = 2 + folder.size() + 12 + 1;

    std::string exact(needed, '#');
    EXPECT_TRUE(BuildAutostartCommand(path.c_str(), &exact[0], exact.size()));
    EXPECT_EQ(std::strlen(exact.c_str()), needed - 1);

    // One byte short: nothing partial is left for a caller to store.
    std::string shortBuffer(needed - 1, '#');
    EXPECT_FALSE(BuildAutostartCommand(path.c_str(), &shortBuffer[0], shortBuffer.size()));
    EXPECT_EQ(shortBuffer[0], '\0');

    char tiny[1] = {'#'};
    EXPECT_FALSE(BuildAutostartCommand("C:\\Tapvox.exe", tiny, 0));
    EXPECT_EQ(tiny[0], '#');
}

}  // namespace
