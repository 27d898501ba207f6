// Reading a process's GDI handle table, as Wine lays it out; no Win32 here, so it is tested
// natively.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// One entry of Wine's GDI handle table, 24 bytes for 32- and 64-bit processes alike. Wine keeps
// a table per process and leaves the owner empty; Windows shares one table among the processes
// of a session and names each entry's owner.
struct GdiHandleEntry {
    uint64_t object;
    uint16_t ownerPid;
    uint16_t ownerCount;
    uint16_t unique;  // bits 0-6 the object's full type, bit 7 set for a stock object
    uint8_t type;     // 0: a free entry
    uint8_t flags;
    uint64_t userPointer;
};
static_assert(sizeof(GdiHandleEntry) == 24, "the table's entry size");
constexpr size_t kGdiTableEntries = 0x10000;
constexpr size_t kGdiTableBytes = kGdiTableEntries * sizeof(GdiHandleEntry);
using GdiTable = std::vector<GdiHandleEntry>;

// A handle table holds the stock objects, and each used entry's type is the low bits of its
// full type.
bool LooksLikeGdiTable(const GdiTable& table);

// The used entries that belong to the process: those it owns, or, where the table names no
// owner, every used one.
long long OwnGdiObjectCount(const GdiTable& table, uint32_t pid);
