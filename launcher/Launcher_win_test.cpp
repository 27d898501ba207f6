// Launcher.exe copied into a folder whose name holds blanks, beside a stand-in Tapvox.exe.

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

namespace {

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, ARRAYSIZE(path));
    std::string folder(path, length < ARRAYSIZE(path) ? length : 0);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

class LauncherFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(ARRAYSIZE(temp), temp);
        ASSERT_TRUE(length > 0 && length < ARRAYSIZE(temp));
        // A folder of its own per test: the program an earlier test started may still hold its.
        static unsigned foldersMade = 0;
        char name[64];
        snprintf(name, sizeof name, "tapvox launcher %lu %u\\", GetCurrentProcessId(), ++foldersMade);
        folder = std::string(temp) + name;
        ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
        ASSERT_TRUE(CopyFileA((OwnFolder() + "launcher\\Launcher.exe").c_str(),
                              (folder + "Launcher.exe").c_str(), FALSE));
    }
    void TearDown() override {
        const char* const files[] = {"Launcher.exe", "Tapvox.exe", "started.txt"};
        for (const char* file : files) DeleteFileA((folder + file).c_str());
        RemoveDirectoryA(folder.c_str());
    }

    // Runs the launcher from another working folder and returns its exit code.
    DWORD RunLauncher() {
        const std::string launcher = folder + "Launcher.exe";
        std::string commandLine = "\"" + launcher + "\"";
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        if (!CreateProcessA(launcher.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                            OwnFolder().c_str(), &startup, &process))
            return static_cast<DWORD>(-1);
        DWORD code = static_cast<DWORD>(-2);
        if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0)
            GetExitCodeProcess(process.hProcess, &code);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return code;
    }

    // The stand-in's report, once it has been written completely.
    std::string WaitForReport() {
        const std::string path = folder + "started.txt";
        for (int i = 0; i < 200; ++i) {
            std::ifstream report(path);
            std::stringstream text;
            text << report.rdbuf();
            if (text.str().find(']') != std::string::npos) return text.str();
            Sleep(50);
        }
        return "";
    }

    std::string folder;
};

TEST_F(LauncherFolder, StartsTapvoxFromItsOwnFolderWithNoArguments) {
    ASSERT_TRUE(CopyFileA((OwnFolder() + "launcher\\StartRecorder.exe").c_str(),
                          (folder + "Tapvox.exe").c_str(), FALSE));
    EXPECT_EQ(RunLauncher(), 0u);
    // The working folder is the program's own (no trailing separator from the system).
    const std::string expected = folder.substr(0, folder.size() - 1) + "\n[]\n";
    EXPECT_EQ(WaitForReport(), expected);
}

TEST_F(LauncherFolder, FailsWhenTapvoxIsMissing) {
    EXPECT_EQ(RunLauncher(), 2u);
}

}  // namespace
