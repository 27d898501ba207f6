#include "tests/tools/GdiTable.h"

bool LooksLikeGdiTable(const GdiTable& table) {
    bool stock = false;
    for (const GdiHandleEntry& entry : table) {
        if (entry.type == 0) continue;
        if (entry.type != (entry.unique & 0x1F)) return false;
        stock = stock || (entry.unique & 0x80) != 0;
    }
    return stock;
}

long long OwnGdiObjectCount(const GdiTable& table, uint32_t pid) {
    const auto owner = static_cast<uint16_t>(pid);  // the table keeps the id's low 16 bits
    long long count = 0;
    for (const GdiHandleEntry& entry : table) {
        if (entry.type != 0 && (entry.ownerPid == 0 || entry.ownerPid == owner)) ++count;
    }
    return count;
}
