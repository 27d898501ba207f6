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

}  // namespace
