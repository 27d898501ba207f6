#include "dialogs/RunningPrograms_win.h"

#include "app/QuietPrograms.h"
#include "tests/RunningNotepad_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string OwnFileName() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, sizeof(path));
    return ProgramFileName(path);
}

// A program with a window is listed by its file name; this one, with a window of its own, is
// not: quieting Tapvox in Tapvox would mean nothing.
TEST(RunningPrograms, ListsProgramsWithWindowsButNotThisOne) {
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 50, 50,
                               nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(own);
    RunningNotepad notepad;
    ASSERT_TRUE(notepad.WindowShown());
    const std::vector<std::string> names = RunningProgramNames();
    DestroyWindow(own);
    EXPECT_TRUE(IsQuietProgram(names, "notepad.exe"));
    EXPECT_FALSE(IsQuietProgram(names, OwnFileName())) << OwnFileName();
    for (const std::string& name : names) EXPECT_TRUE(IsProgramFileName(name)) << name;
}

}  // namespace
