// Names beyond ASCII under the ANSI code page (ctest runs these under 1252, 1251 and 932): which
// survive it, the ANSI form that opens a folder named outside it, and the scheme listing that
// leaves such folders out.
#include "app/ProgramPaths_win.h"
#include "app/SchemeFolders_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct NameCase {
    const wchar_t* name;
    // In which of the code pages 1252, 1251 and 932 the name survives.
    bool in1252;
    bool in1251;
    bool in932;
};

// "Łukasz" and "Dvořák" turn into look-alikes ("Lukasz", "Dvorak") rather than "?" in 1252.
const NameCase kNames[] = {
    {L"Tapvox", true, true, true},
    {L"Łukasz", false, false, false},
    {L"Dvořák", false, false, false},
    {L"Схема", false, true, true},
    {L"Schéma", true, false, false},
    {L"ソフト音", false, false, true},
    {L"表示", false, false, true},  // a second byte that is a backslash
};

// Whether the name survives the code page in use; a code page the table does not know fails.
bool ExpectedToSurvive(const NameCase& c) {
    switch (GetACP()) {
        case 1252: return c.in1252;
        case 1251: return c.in1251;
        case 932: return c.in932;
        default: ADD_FAILURE() << "no expectations for code page " << GetACP(); return false;
    }
}

// A wide folder in the temporary folder, removed with everything made in it through Add.
class WideTestFolder {
public:
    WideTestFolder() {
        wchar_t temp[MAX_PATH];
        const DWORD length = GetTempPathW(ARRAYSIZE(temp), temp);
        if (length > 0 && length < ARRAYSIZE(temp)) {
            path_ = std::wstring(temp) + L"tvx-paths-" + std::to_wstring(GetCurrentProcessId());
            made_ = CreateDirectoryW(path_.c_str(), nullptr) != 0;
            path_ += L"\\";
        }
    }
    WideTestFolder(const WideTestFolder&) = delete;
    WideTestFolder& operator=(const WideTestFolder&) = delete;
    ~WideTestFolder() {
        for (auto entry = added_.rbegin(); entry != added_.rend(); ++entry)
            RemoveDirectoryW(entry->c_str());
        RemoveDirectoryW(path_.c_str());
    }
    bool Made() const { return made_; }
    const std::wstring& Path() const { return path_; }
    std::wstring Add(const std::wstring& name) {
        added_.push_back(path_ + name);
        EXPECT_TRUE(CreateDirectoryW(added_.back().c_str(), nullptr)) << "folder " << added_.size();
        return added_.back();
    }

private:
    std::wstring path_;
    bool made_ = false;
    std::vector<std::wstring> added_;
};

TEST(ProgramPaths, NamesBeyondAsciiSurviveOnlyTheirCodePages) {
    for (const NameCase& c : kNames) {
        EXPECT_EQ(SurvivesAnsiCodePage(c.name), ExpectedToSurvive(c))
            << "name " << (&c - kNames) << " in code page " << GetACP();
    }
}

TEST(ProgramPaths, NamesBeyondAsciiOpenThroughTheirWorkingAnsiForm) {
    WideTestFolder folder;
    ASSERT_TRUE(folder.Made());
    std::string base;
    ASSERT_TRUE(WorkingAnsiPath(folder.Path(), base));
    for (const NameCase& c : kNames) {
        SCOPED_TRACE(testing::Message()
                     << "name " << (&c - kNames) << " in code page " << GetACP());
        const std::wstring path = folder.Add(c.name);
        std::string working;
        ASSERT_TRUE(WorkingAnsiPath(path, working));
        const DWORD attributes = GetFileAttributesA(working.c_str());
        ASSERT_NE(attributes, INVALID_FILE_ATTRIBUTES);
        EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
        // Its own name where it survives, else the short name: the same folder either way.
        EXPECT_EQ(working == WideToAnsiText(path), ExpectedToSurvive(c));
        wchar_t full[MAX_PATH];
        ASSERT_NE(GetLongPathNameW(AnsiToWideText(working).c_str(), full, ARRAYSIZE(full)), 0u);
        EXPECT_EQ(lstrcmpiW(full, path.c_str()), 0);
    }
    // Without the folder there is no short name to fall back on.
    std::string missing = "unchanged";
    EXPECT_FALSE(WorkingAnsiPath(folder.Path() + L"Łukasz\\absent", missing));
    EXPECT_EQ(missing, "");
}

TEST(ProgramPaths, NamesBeyondAsciiOutsideTheCodePageAreNoSchemes) {
    WideTestFolder folder;
    ASSERT_TRUE(folder.Made());
    std::vector<std::string> expected;
    for (const NameCase& c : kNames) {
        folder.Add(c.name);
        if (ExpectedToSurvive(c)) expected.push_back(WideToAnsiText(c.name));
    }
    std::string schemesFolder;
    ASSERT_TRUE(WorkingAnsiPath(folder.Path(), schemesFolder));
    std::vector<std::string> listed;
    ListSchemeFolders(schemesFolder, [&listed](const char* name) {
        listed.push_back(name);
        return true;
    });
    std::sort(expected.begin(), expected.end());
    std::sort(listed.begin(), listed.end());
    EXPECT_EQ(listed, expected);
}

TEST(ProgramPaths, ProgramPathOpensTheProgram) {
    char path[MAX_PATH];
    ASSERT_TRUE(ReadProgramPath(path, sizeof(path)));
    EXPECT_NE(GetFileAttributesA(path), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ProgramFolderWithoutAnsiForm(), L"");
    std::string image;
    ASSERT_TRUE(ReadProcessImagePath(GetCurrentProcess(), image));
    EXPECT_EQ(lstrcmpiA(image.c_str(), path), 0) << image;
    // A buffer one short of the path and its zero is left empty rather than cut.
    char small[MAX_PATH];
    const DWORD fits = static_cast<DWORD>(std::strlen(path)) + 1;
    EXPECT_FALSE(ReadProgramPath(small, fits - 1));
    EXPECT_EQ(small[0], '\0');
    EXPECT_TRUE(ReadProgramPath(small, fits));
    EXPECT_STREQ(small, path);
}

}  // namespace
