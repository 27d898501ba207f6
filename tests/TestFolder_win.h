#pragma once
// Folders the Win32 tests make for one test: in the temporary folder, or (for the code that
// looks beside the program) in a folder the test program shares with other runs.

#include "tests/TestFiles.h"

#include <windows.h>

#include <string>
#include <vector>

// The temporary folder, the prefix and this process's id, without a final separator: a name no
// other test process uses. Empty when the temporary folder is not known.
inline std::string TemporaryPathFor(const std::string& prefix) {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(sizeof(temp), temp);
    if (length == 0 || length >= sizeof(temp)) return std::string();
    return std::string(temp) + prefix + std::to_string(GetCurrentProcessId());
}

// A folder made when the test folder is made, and removed when it goes together with the
// entries made through it (so a shared folder loses only what this test put there). What the
// code under test writes into it is for the test to remove.
class TestFolder {
public:
    // path without a final separator; its parent must exist.
    explicit TestFolder(const std::string& path)
        : path_(path + "\\"), isNew_(CreateDirectoryA(path.c_str(), nullptr) != 0) {}
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;
    ~TestFolder() {
        for (auto entry = made_.rbegin(); entry != made_.rend(); ++entry) {
            if (!RemoveDirectoryA(entry->c_str())) DeleteFileA(entry->c_str());
        }
        RemoveDirectoryA(path_.c_str());
    }

    // Ends with a backslash.
    const std::string& Path() const { return path_; }
    // False when the folder was there already or could not be made.
    bool IsNew() const { return isNew_; }

    void AddFolder(const std::string& name) {
        made_.push_back(path_ + name);
        CreateDirectoryA(made_.back().c_str(), nullptr);
    }
    // Creates or replaces the file; true when every byte was written.
    bool AddFile(const std::string& name, const std::string& bytes = std::string()) {
        made_.push_back(path_ + name);
        return WriteWholeFile(made_.back(), bytes);
    }

private:
    std::string path_;
    bool isNew_;
    std::vector<std::string> made_;
};
