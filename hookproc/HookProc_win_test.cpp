// The helper, started through RunApplication as Tapvox starts it, and driven the way Tapvox
// drives it. Uses the 32-bit build of the helper from the folder beside this test.

#include "hook/HookEvent.h"
#include "hook/KbdHook.h"
#include "tests/RecordingWindow_win.h"
#include "tests/SendKeyTap_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

constexpr DWORD kAnnounceWaitMs = 10000;
constexpr DWORD kExitWaitMs = 10000;

std::string OwnFolder() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, ARRAYSIZE(path));
    std::string folder(path, length < ARRAYSIZE(path) ? length : 0);
    return folder.substr(0, folder.find_last_of("\\/") + 1);
}

std::string BuiltHelperPath() { return OwnFolder() + "helper\\HookProc.exe"; }

// A copy of the helper in a folder whose name, like the file's, holds blanks.
class HelperCopy {
public:
    HelperCopy() {
        char temp[MAX_PATH];
        const DWORD length = GetTempPathA(ARRAYSIZE(temp), temp);
        if (length == 0 || length >= ARRAYSIZE(temp)) return;
        // A folder of its own per copy: a helper told to close may still hold the last one.
        static unsigned copiesMade = 0;
        char name[64];
        snprintf(name, sizeof name, "tapvox helper %lu %u", GetCurrentProcessId(), ++copiesMade);
        folder_ = std::string(temp) + name;
        CreateDirectoryA(folder_.c_str(), nullptr);
        path_ = folder_ + "\\Hook Proc.exe";
        if (!CopyFileA(BuiltHelperPath().c_str(), path_.c_str(), FALSE)) path_.clear();
    }
    ~HelperCopy() {
        if (!path_.empty()) DeleteFileA(path_.c_str());
        if (!folder_.empty()) RemoveDirectoryA(folder_.c_str());
    }
    HelperCopy(const HelperCopy&) = delete;
    HelperCopy& operator=(const HelperCopy&) = delete;

    const std::string& Path() const { return path_; }

private:
    std::string folder_;
    std::string path_;
};

// The helper's process, found from its announced window, to watch it end.
class HelperProcess {
public:
    explicit HelperProcess(HWND helperWindow) {
        DWORD processId = 0;
        GetWindowThreadProcessId(helperWindow, &processId);
        if (processId != 0)
            process_ = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                   processId);
    }
    ~HelperProcess() {
        if (process_ != nullptr) CloseHandle(process_);
    }
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;

    bool IsOpen() const { return process_ != nullptr; }
    bool Ended(RecordingWindow& pump, DWORD timeoutMs) const {
        return pump.PumpUntil([this] { return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; },
                              timeoutMs);
    }
    DWORD ExitCode() const {
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process_, &code);
        return code;
    }

private:
    HANDLE process_ = nullptr;
};

class StartedHelper : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(copy.Path().empty()) << "cannot copy " << BuiltHelperPath();
        ASSERT_EQ(
            RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), copy.Path().c_str(), 0, 0), 0);
        ASSERT_TRUE(mainWindow.PumpUntil([this] { return mainWindow.AnnouncedHelper() != nullptr; },
                                         kAnnounceWaitMs));
        helperWindow = mainWindow.AnnouncedHelper();
        ASSERT_TRUE(IsWindow(helperWindow));
    }
    void TearDown() override {
        if (helperWindow == nullptr || !IsWindow(helperWindow)) return;
        HelperProcess process(helperWindow);
        PostMessageA(helperWindow, WM_CLOSE, 0, 0);
        // Let it end before its copy is deleted, so no helper outlives its test.
        if (process.IsOpen()) process.Ended(mainWindow, kExitWaitMs);
    }

    LRESULT Command(uint32_t command, LPARAM parameter) {
        return SendMessageA(helperWindow, helperMessage, command, parameter);
    }

    HelperCopy copy;
    RecordingWindow mainWindow;
    HWND helperWindow = nullptr;
    const UINT helperMessage = RegisterWindowMessageA(kHelperMessageName);
};

TEST_F(StartedHelper, AnswersEachCommand) {
    EXPECT_TRUE(IsHelperSuccess(static_cast<uint32_t>(Command(HelperInstallHooks, 1))));
    EXPECT_TRUE(IsHelperSuccess(static_cast<uint32_t>(Command(HelperReinstallHooks, 0))));
    EXPECT_EQ(Command(HelperSetWaitForEndKey, 0), 0);
    EXPECT_EQ(Command(HelperSetWaitForEndKey, 1234), 1234);
    EXPECT_TRUE(IsHelperSuccess(static_cast<uint32_t>(Command(HelperInstallHooks, 0))));
    EXPECT_FALSE(IsHelperSuccess(static_cast<uint32_t>(Command(0x3B02, 0))));
    EXPECT_FALSE(IsHelperSuccess(static_cast<uint32_t>(Command(HelperInstallHooks, 5))));
}

TEST_F(StartedHelper, ReportsNoKeysOfItsOwn) {
    ASSERT_TRUE(IsHelperSuccess(static_cast<uint32_t>(Command(HelperInstallHooks, 1))));
    SendKeyTap('K');
    mainWindow.PumpFor(500);
    EXPECT_TRUE(mainWindow.HookEvents().empty());
}

TEST_F(StartedHelper, EndsOnClose) {
    HelperProcess process(helperWindow);
    ASSERT_TRUE(process.IsOpen());
    PostMessageA(helperWindow, WM_CLOSE, 0, 0);
    EXPECT_TRUE(process.Ended(mainWindow, kExitWaitMs));
    EXPECT_EQ(process.ExitCode(), 0u);
}

TEST_F(StartedHelper, EndsByItselfWhenTheMainWindowIsGone) {
    HelperProcess process(helperWindow);
    ASSERT_TRUE(process.IsOpen());
    mainWindow.Destroy();
    EXPECT_TRUE(process.Ended(mainWindow, kExitWaitMs));
}

TEST(RunApplication, RefusesBadArguments) {
    RecordingWindow mainWindow;
    HelperCopy copy;
    ASSERT_FALSE(copy.Path().empty());
    const std::string tooLong = "C:\\" + std::string(400, 'x') + ".exe";
    const std::string quoted = "C:\\a\"b\\HookProc.exe";
    const std::string missing = copy.Path() + ".missing.exe";
    EXPECT_NE(RunApplication(0, 0, mainWindow.Get(), copy.Path().c_str(), 0, 0), 0);
    EXPECT_NE(RunApplication(2, 0, mainWindow.Get(), copy.Path().c_str(), 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), nullptr, 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), "", 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), tooLong.c_str(), 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), quoted.c_str(), 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, mainWindow.Get(), missing.c_str(), 0, 0), 0);
    EXPECT_NE(RunApplication(KBDHOOK_RUN_HELPER, 0, nullptr, copy.Path().c_str(), 0, 0), 0);
    // None of these started a helper.
    mainWindow.PumpFor(300);
    EXPECT_EQ(mainWindow.AnnouncedHelper(), nullptr);
}

// Started by hand with a command line of our choosing: the helper must end at once, with the
// exit code that names the reason, and announce nothing.
TEST(HelperCommandLine, BadArgumentsEndTheHelper) {
    RecordingWindow mainWindow;
    RecordingWindow goneWindow;
    char goneHandle[32];
    snprintf(goneHandle, sizeof goneHandle, "%lu",
             static_cast<unsigned long>(reinterpret_cast<uintptr_t>(goneWindow.Get())));
    goneWindow.Destroy();
    struct Case {
        std::string arguments;
        DWORD exitCode;
    };
    const Case cases[] = {
        {"", 1}, {"abc", 1}, {"0", 1}, {"4294967296", 1}, {"12 34", 1},
        {std::string(3000, '7'), 1}, {goneHandle, 2},
    };
    const std::string helper = BuiltHelperPath();
    for (const Case& c : cases) {
        std::string commandLine = "\"" + helper + "\" " + c.arguments;
        STARTUPINFOA startup = {};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process = {};
        ASSERT_TRUE(CreateProcessA(helper.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0,
                                   nullptr, nullptr, &startup, &process));
        EXPECT_EQ(WaitForSingleObject(process.hProcess, kExitWaitMs), WAIT_OBJECT_0)
            << c.arguments.substr(0, 40);
        DWORD code = STILL_ACTIVE;
        GetExitCodeProcess(process.hProcess, &code);
        EXPECT_EQ(code, c.exitCode) << c.arguments.substr(0, 40);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    mainWindow.PumpFor(200);
    EXPECT_EQ(mainWindow.AnnouncedHelper(), nullptr);
}

}  // namespace
