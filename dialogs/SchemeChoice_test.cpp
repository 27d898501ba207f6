#include "dialogs/SchemeChoice.h"

#include "schemes/KeyNames.h"

#include <gtest/gtest.h>

namespace {

TEST(SchemeChoice, EditOpensTheRememberedNameAndEverythingElseANewScheme) {
    RememberedSchemeNames names;
    for (size_t i = 0; i < names.size(); ++i) names[i] = "Scheme" + std::to_string(i);
    const struct {
        bool edit;
        int selection;
        const char* name;
        bool isNew;
    } cases[] = {
        {true, 0, "Scheme0", false},
        {true, 24, "Scheme24", false},
        {true, 25, "NewScheme", true},   // the 26th listed name is not remembered
        {true, 29, "NewScheme", true},
        {true, -1, "NewScheme", true},   // no selection
        {false, 3, "NewScheme", true},
        {false, -1, "NewScheme", true},
    };
    for (const auto& c : cases) {
        const SchemeToOpen chosen = ChooseSchemeToOpen(c.edit, c.selection, names);
        EXPECT_EQ(chosen.name, c.name) << c.edit << ' ' << c.selection;
        EXPECT_EQ(chosen.isNew, c.isNew) << c.edit << ' ' << c.selection;
    }
}

size_t RowOf(const char* keyName) {
    for (size_t i = 0; i < EditableKeyNames.size(); ++i) {
        if (std::string(EditableKeyNames[i]) == keyName) return i;
    }
    return EditableKeyNames.size();
}

TEST(SchemeEditor, ListLinesEndInTheFileOrInTheBlank) {
    EXPECT_EQ(KeyListLine("A", ""), "A - ");
    EXPECT_EQ(KeyListLine("ENTER", "ding.wav"), "ENTER - ding.wav");
}

// Group words set every key of their group, so each such row shows the group's file; keys
// outside the editor's list are not shown at all.
TEST(SchemeEditor, RowsComeFromTheTableByKeyName) {
    KeySoundTable table;
    const char text[] = "CHARS=c.wav\r\nF1=f1.wav\r\nSPACE=space.wav\r\n";
    ApplySchemeText(text, sizeof(text) - 1, table);
    const SchemeRowFiles rows = RowFilesFromTable(table);
    EXPECT_EQ(rows[RowOf("A")], "c.wav");
    EXPECT_EQ(rows[RowOf("Z")], "c.wav");
    EXPECT_EQ(rows[RowOf("SPACE")], "space.wav");
    EXPECT_EQ(rows[RowOf("D0")], "");
    EXPECT_EQ(rows[RowOf("NUMPAD5")], "");
}

TEST(SchemeSave, CopiesOnlyTheSoundsChosenInThisPass) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    files[RowOf("A")] = "a.wav";
    sources[RowOf("A")] = "D:\\sounds\\a.wav";
    files[RowOf("SPACE")] = "space.wav";
    sources[RowOf("SPACE")] = "D:\\other\\space.wav";
    files[RowOf("B")] = "kept.wav";  // from the stored scheme: named, not copied
    sources[RowOf("C")] = "D:\\x.wav";  // a source without a file name copies nothing
    SchemeSavePlan plan;
    ASSERT_TRUE(PlanSchemeSave("C:\\T\\Schemes\\", "NewScheme", files, sources, plan));
    EXPECT_EQ(plan.folder, "C:\\T\\Schemes\\NewScheme\\");
    EXPECT_EQ(plan.schemeFile, "C:\\T\\Schemes\\NewScheme\\Scheme.txt");
    const std::vector<std::pair<std::string, std::string>> copies = {
        {"D:\\sounds\\a.wav", "C:\\T\\Schemes\\NewScheme\\a.wav"},
        {"D:\\other\\space.wav", "C:\\T\\Schemes\\NewScheme\\space.wav"},
    };
    EXPECT_EQ(plan.copies, copies);
}

TEST(SchemeSave, PathsPastTheLimitAreRefused) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    const std::string folder = "C:\\" + std::string(230, 'f') + "\\";
    // folder (234) + name + "\\Scheme.txt" (11): a 10-character name reaches exactly 255.
    SchemeSavePlan plan;
    EXPECT_TRUE(PlanSchemeSave(folder, std::string(10, 'n'), files, sources, plan));
    EXPECT_EQ(plan.schemeFile.size(), 255u);
    EXPECT_FALSE(PlanSchemeSave(folder, std::string(11, 'n'), files, sources, plan));

    files[RowOf("A")] = std::string(30, 'w') + ".wav";
    sources[RowOf("A")] = "D:\\a.wav";
    ASSERT_TRUE(PlanSchemeSave(folder, "n", files, sources, plan));
    EXPECT_TRUE(plan.copies.empty()) << "a copy target past the limit is left out";
}

TEST(SchemeSave, AnEmptySchemesFolderIsRefused) {
    SchemeRowFiles files;
    SchemeRowFiles sources;
    files[RowOf("A")] = "a.wav";
    sources[RowOf("A")] = "D:\\a.wav";
    SchemeSavePlan plan;
    EXPECT_FALSE(PlanSchemeSave("", "NewScheme", files, sources, plan));
    EXPECT_TRUE(plan.copies.empty());
    EXPECT_TRUE(plan.schemeFile.empty());
}

}  // namespace
