#include "schemes/SchemeSave.h"

#include "tests/EditableKeyRow.h"
#include "tests/TestFiles.h"
#include "tests/TestFolder_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace {

// A missing file reads as "<missing>", so that it differs from an empty one.
std::string ReadAll(const std::string& path) {
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return "<missing>";
    return ReadWholeFile(path);
}

TEST(SchemeSaving, NewSchemeGetsItsFolderSoundsAndTwoLines) {
    TestFolder root(TemporaryPathFor("tapvox-save-"));
    root.AddFolder("Schemes");
    root.AddFile("click.wav", "RIFF-a");
    root.AddFile("thud.wav", "RIFF-space");
    const std::string schemes = root.Path() + "Schemes\\";

    SchemeEdit edit;
    edit.name = "NewScheme";
    edit.rowFiles[RowOf("SPACE")] = "thud.wav";
    edit.rowSources[RowOf("SPACE")] = root.Path() + "thud.wav";
    edit.rowFiles[RowOf("A")] = "click.wav";
    edit.rowSources[RowOf("A")] = root.Path() + "click.wav";
    edit.rowFiles[RowOf("B")] = "unchanged.wav";  // kept from before: named, nothing to copy
    SaveScheme(schemes, edit);

    const std::string folder = schemes + "NewScheme\\";
    EXPECT_EQ(ReadAll(folder + "Scheme.txt"),
              "A=click.wav\r\nB=unchanged.wav\r\nSPACE=thud.wav\r\n");
    EXPECT_EQ(ReadAll(folder + "click.wav"), "RIFF-a");
    EXPECT_EQ(ReadAll(folder + "thud.wav"), "RIFF-space");
    EXPECT_EQ(ReadAll(folder + "unchanged.wav"), "<missing>");

    // Saving again into the same folder replaces the scheme file.
    SchemeEdit empty;
    empty.name = "NewScheme";
    SaveScheme(schemes, empty);
    EXPECT_EQ(ReadAll(folder + "Scheme.txt"), "");

    for (const char* name : {"Scheme.txt", "click.wav", "thud.wav"}) {
        DeleteFileA((folder + name).c_str());
    }
    RemoveDirectoryA(folder.c_str());
}

TEST(SchemeSaving, AnEmptySchemesFolderWritesNothingBesideTheCurrentFolder) {
    TestFolder current(TemporaryPathFor("tapvox-cwd-"));
    ASSERT_TRUE(current.IsNew());
    char before[MAX_PATH];
    GetCurrentDirectoryA(ARRAYSIZE(before), before);
    ASSERT_TRUE(SetCurrentDirectoryA(current.Path().c_str()));
    SchemeEdit edit;
    edit.name = "NewScheme";
    SaveScheme("", edit);
    SetCurrentDirectoryA(before);
    EXPECT_EQ(ReadAll(current.Path() + "NewScheme\\Scheme.txt"), "<missing>");
    const bool folderMade = RemoveDirectoryA((current.Path() + "NewScheme").c_str()) != 0;
    EXPECT_FALSE(folderMade);
}

}  // namespace
