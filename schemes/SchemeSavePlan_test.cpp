#include "schemes/SchemeSavePlan.h"

#include "tests/EditableKeyRow.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

bool NoLeadBytes(unsigned char) { return false; }

// Lead bytes of code page 932 (Shift-JIS), whose second bytes may equal a backslash.
bool ShiftJisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

TEST(SchemeSave, CopiesOnlyTheSoundsChosenInThisPass) {
    SchemeEdit edit;
    edit.name = "NewScheme";
    edit.rowFiles[RowOf("A")] = "a.wav";
    edit.rowSources[RowOf("A")] = "D:\\sounds\\a.wav";
    edit.rowFiles[RowOf("SPACE")] = "space.wav";
    edit.rowSources[RowOf("SPACE")] = "D:\\other\\space.wav";
    edit.rowFiles[RowOf("B")] = "kept.wav";  // from the stored scheme: named, not copied
    edit.rowSources[RowOf("C")] = "D:\\x.wav";  // a source without a file name copies nothing
    SchemeSavePlan plan;
    ASSERT_TRUE(PlanSchemeSave("C:\\T\\Schemes\\", edit, NoLeadBytes, plan));
    EXPECT_EQ(plan.folder, "C:\\T\\Schemes\\NewScheme\\");
    EXPECT_EQ(plan.schemeFile, "C:\\T\\Schemes\\NewScheme\\Scheme.txt");
    const std::vector<std::pair<std::string, std::string>> copies = {
        {"D:\\sounds\\a.wav", "C:\\T\\Schemes\\NewScheme\\a.wav"},
        {"D:\\other\\space.wav", "C:\\T\\Schemes\\NewScheme\\space.wav"},
    };
    EXPECT_EQ(plan.copies, copies);
}

// Under a new name every sound the scheme names is copied from the opened scheme's folder,
// unless a sound chosen now replaces it or it lies outside the folder; saving under the same
// name (in any case) copies only what was chosen.
TEST(SchemeSave, RenamingCopiesTheKeptSounds) {
    using Copies = std::vector<std::pair<std::string, std::string>>;
    struct Case {
        const char* name;
        const char* chosenForZ;  // the file chosen now for Z, in a folder of its own
        Copies copies;
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {"New", "z.wav",
         {{"S\\Old\\a.wav", "S\\New\\a.wav"},
          {"S\\Old\\sub\\c.wav", "S\\New\\sub\\c.wav"},
          {"S\\Old\\\x95\x5C.wav", "S\\New\\\x95\x5C.wav"},
          {"S\\Old\\f1.wav", "S\\New\\f1.wav"},
          {"D:\\new\\z.wav", "S\\New\\z.wav"}},
         {"S\\New\\", "S\\New\\sub"}},
        {"New", "a.wav",
         {{"S\\Old\\sub\\c.wav", "S\\New\\sub\\c.wav"},
          {"S\\Old\\\x95\x5C.wav", "S\\New\\\x95\x5C.wav"},
          {"S\\Old\\f1.wav", "S\\New\\f1.wav"},
          {"D:\\new\\a.wav", "S\\New\\a.wav"}},
         {"S\\New\\", "S\\New\\sub"}},
        {"OLD", "z.wav", {{"D:\\new\\z.wav", "S\\OLD\\z.wav"}}, {"S\\OLD\\"}},
    };
    for (const Case& c : cases) {
        SchemeEdit edit;
        edit.openedName = "Old";
        edit.openedTable[KeyCodeFromName("A")] = "a.wav";
        edit.openedTable[KeyCodeFromName("E")] = "a.wav";
        edit.openedTable[KeyCodeFromName("C")] = "sub\\c.wav";
        edit.openedTable[KeyCodeFromName("D")] = "..\\Other\\d.wav";
        edit.openedTable[KeyCodeFromName("G")] = "\x95\x5C.wav";  // a second byte, not a folder
        edit.openedTable[KeyCodeFromName("F1")] = "f1.wav";
        for (const char* key : {"A", "C", "D", "E", "G"})
            edit.rowFiles[RowOf(key)] = edit.openedTable[KeyCodeFromName(key)];
        edit.name = c.name;
        edit.rowFiles[RowOf("Z")] = c.chosenForZ;
        edit.rowSources[RowOf("Z")] = std::string("D:\\new\\") + c.chosenForZ;
        SchemeSavePlan plan;
        ASSERT_TRUE(PlanSchemeSave("S\\", edit, ShiftJisLeadByte, plan));
        EXPECT_EQ(plan.copies, c.copies) << c.name << " " << c.chosenForZ;
        EXPECT_EQ(plan.folders, c.folders) << c.name << " " << c.chosenForZ;
        EXPECT_EQ(plan.table[KeyCodeFromName("F1")], "f1.wav") << "kept outside the rows";
        EXPECT_EQ(plan.table[KeyCodeFromName("Z")], c.chosenForZ);
    }
}

// Release sounds are not in the editor's rows: they are written back as read, and under a new
// name their files come along like the kept press sounds.
TEST(SchemeSave, ReleaseSoundsAreKeptAndCopiedUnderANewName) {
    using Copies = std::vector<std::pair<std::string, std::string>>;
    const struct {
        const char* name;
        const char* chosenForZ;  // empty: nothing chosen in this pass
        Copies copies;
    } cases[] = {
        {"New", "",
         {{"S\\Old\\a.wav", "S\\New\\a.wav"},  // presses first, then releases by code
          {"S\\Old\\up\\s.wav", "S\\New\\up\\s.wav"},
          {"S\\Old\\a-up.wav", "S\\New\\a-up.wav"}}},
        {"New", "a-up.wav",  // a chosen file of the same name replaces the kept one
         {{"S\\Old\\a.wav", "S\\New\\a.wav"},
          {"S\\Old\\up\\s.wav", "S\\New\\up\\s.wav"},
          {"D:\\new\\a-up.wav", "S\\New\\a-up.wav"}}},
        {"Old", "", {}},
    };
    for (const auto& c : cases) {
        SchemeEdit edit;
        edit.openedName = "Old";
        edit.openedTable[KeyCodeFromName("A")] = "a.wav";
        edit.openedReleases[KeyCodeFromName("A")] = "a-up.wav";
        edit.openedReleases[KeyCodeFromName("B")] = "a.wav";  // shared with a press: one copy
        edit.openedReleases[KeyCodeFromName("SHIFT")] = "up\\s.wav";
        edit.rowFiles[RowOf("A")] = "a.wav";
        edit.name = c.name;
        if (*c.chosenForZ != '\0') {
            edit.rowFiles[RowOf("Z")] = c.chosenForZ;
            edit.rowSources[RowOf("Z")] = std::string("D:\\new\\") + c.chosenForZ;
        }
        SchemeSavePlan plan;
        ASSERT_TRUE(PlanSchemeSave("S\\", edit, NoLeadBytes, plan));
        EXPECT_EQ(plan.copies, c.copies) << c.name << " " << c.chosenForZ;
        EXPECT_EQ(plan.releases, edit.openedReleases) << c.name;
    }
}

TEST(SchemeSave, PathsPastTheLimitAreRefused) {
    SchemeEdit edit;
    const std::string folder = "C:\\" + std::string(230, 'f') + "\\";
    // folder (234) + name + "\\Scheme.txt" (11): a 10-character name reaches exactly 255.
    SchemeSavePlan plan;
    edit.name = std::string(10, 'n');
    EXPECT_TRUE(PlanSchemeSave(folder, edit, NoLeadBytes, plan));
    EXPECT_EQ(plan.schemeFile.size(), 255u);
    edit.name = std::string(11, 'n');
    EXPECT_FALSE(PlanSchemeSave(folder, edit, NoLeadBytes, plan));

    edit.name = "n";
    edit.rowFiles[RowOf("A")] = std::string(30, 'w') + ".wav";
    edit.rowSources[RowOf("A")] = "D:\\a.wav";
    ASSERT_TRUE(PlanSchemeSave(folder, edit, NoLeadBytes, plan));
    EXPECT_TRUE(plan.copies.empty()) << "a copy target past the limit is left out";
}

TEST(SchemeSave, AnEmptySchemesFolderIsRefused) {
    SchemeEdit edit;
    edit.name = "NewScheme";
    edit.rowFiles[RowOf("A")] = "a.wav";
    edit.rowSources[RowOf("A")] = "D:\\a.wav";
    SchemeSavePlan plan;
    EXPECT_FALSE(PlanSchemeSave("", edit, NoLeadBytes, plan));
    EXPECT_TRUE(plan.copies.empty());
    EXPECT_TRUE(plan.schemeFile.empty());
}

}  // namespace
