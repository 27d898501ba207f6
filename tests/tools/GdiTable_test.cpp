#include "tests/tools/GdiTable.h"

#include <gtest/gtest.h>

#include <cstddef>

namespace {

constexpr uint8_t kBrush = 0x10;
constexpr uint16_t kStock = 0x80;

GdiHandleEntry Entry(uint8_t type, uint16_t unique, uint16_t ownerPid) {
    GdiHandleEntry entry = {};
    entry.type = type;
    entry.unique = unique;
    entry.ownerPid = ownerPid;
    return entry;
}

// A table as the process keeps it: entry i of `used` at index 10 + i, the rest free.
GdiTable TableWith(std::initializer_list<GdiHandleEntry> used) {
    GdiTable table(kGdiTableEntries, GdiHandleEntry{});
    size_t index = 10;
    for (const GdiHandleEntry& entry : used) table[index++] = entry;
    return table;
}

TEST(GdiTable, EntryLayoutIsTheTables) {
    // Read as raw bytes from the other process: the fields must sit where the table has them.
    EXPECT_EQ(offsetof(GdiHandleEntry, ownerPid), 8u);
    EXPECT_EQ(offsetof(GdiHandleEntry, unique), 12u);
    EXPECT_EQ(offsetof(GdiHandleEntry, type), 14u);
    EXPECT_EQ(offsetof(GdiHandleEntry, userPointer), 16u);
    EXPECT_EQ(kGdiTableBytes, 0x180000u);
}

struct TableCase {
    const char* name;
    GdiTable table;
    uint32_t pid;
    bool looksLikeTable;
    long long ownCount;
};

TEST(GdiTable, CountsOnlyTheProcesssOwnObjects) {
    const GdiHandleEntry stockBrush = Entry(kBrush, kStock | kBrush, 0);
    const GdiHandleEntry brush = Entry(kBrush, 0x0300 | kBrush, 0);
    const TableCase cases[] = {
        {"free table", TableWith({}), 0x1234, false, 0},
        {"no stock object", TableWith({brush}), 0x1234, false, 1},
        {"Wine: no owner named", TableWith({stockBrush, brush, brush}), 0x1234, true, 3},
        {"type not the full type's low bits", TableWith({stockBrush, Entry(kBrush, 0x11, 0)}),
         0x1234, false, 2},
        {"owners named: others' objects left out",
         TableWith({stockBrush, Entry(kBrush, kBrush, 0x1234), Entry(kBrush, kBrush, 0x1238),
                    Entry(kBrush, kBrush, 0x1234)}),
         0x1234, true, 3},
        {"process id beyond 16 bits", TableWith({stockBrush, Entry(kBrush, kBrush, 0x1234)}),
         0x51234, true, 2},
    };
    for (const TableCase& c : cases) {
        EXPECT_EQ(LooksLikeGdiTable(c.table), c.looksLikeTable) << c.name;
        EXPECT_EQ(OwnGdiObjectCount(c.table, c.pid), c.ownCount) << c.name;
    }
}

}  // namespace
