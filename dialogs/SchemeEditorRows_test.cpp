#include "dialogs/SchemeEditorRows.h"

#include "tests/EditableKeyRow.h"

#include <gtest/gtest.h>

namespace {

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

TEST(SchemeEditor, PlayedRowSoundsTheChosenFileElseTheOpenedSchemesOwn) {
    const std::string folder = "c:\\tv\\Schemes\\";
    const struct {
        const char* what;
        std::string openedName, rowFile, rowSource, played;
    } cases[] = {
        {"a file of the scheme", "Clicks", "a.wav", "", "c:\\tv\\Schemes\\Clicks\\a.wav"},
        {"a file chosen now wins", "Clicks", "b.wav", "d:\\x\\b.wav", "d:\\x\\b.wav"},
        {"a new scheme's chosen file", "", "b.wav", "d:\\x\\b.wav", "d:\\x\\b.wav"},
        {"a row without a sound", "Clicks", "", "", ""},
        {"a new scheme's row not chosen", "", "a.wav", "", ""},
        {"a path of 255 characters", "Clicks", std::string(255 - 21, 'f'), "",
         folder + "Clicks\\" + std::string(255 - 21, 'f')},
        {"a path past 255 characters", "Clicks", std::string(256 - 21, 'f'), "", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(RowSoundPath(folder, c.openedName, c.rowFile, c.rowSource), c.played) << c.what;
}

}  // namespace
