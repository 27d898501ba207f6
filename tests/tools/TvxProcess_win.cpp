// Process commands of tvxctl: listing processes, waiting for an exit, measuring memory and
// object counts.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cinttypes>
#include <cstddef>
#include <cstdio>
#include <vector>

#include "tests/tools/GdiTable.h"
#include "tests/tools/ToolArgs.h"
#include "tests/tools/ToolHandle.h"
#include "tests/tools/TvxCommands.h"

namespace {

bool ParsePid(const char* text, DWORD* pid) {
    uint64_t value = 0;
    if (!ParseUnsignedArg(text, MAXDWORD, &value)) return false;
    *pid = static_cast<DWORD>(value);
    return true;
}

// Wine answers neither GetProcessHandleCount (0) nor GetGuiResources (not implemented), so the
// counts come from what it does keep: the system handle list, the GDI handle table that a
// process's PEB points at, and the windows.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    PVOID object;
    ULONG access;
};
struct SystemHandleList {
    ULONG count;
    SystemHandleEntry entries[1];
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = static_cast<LONG>(0xC0000004);
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);
using QueryInformationProcess = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);

template <typename Function>
Function NtdllFunction(const char* name) {
    return reinterpret_cast<Function>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), name)));
}

long long KernelHandleCount(DWORD pid) {
    auto query = NtdllFunction<QuerySystemInformation>("NtQuerySystemInformation");
    if (!query) return -1;
    std::vector<BYTE> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        LONG status = query(kSystemHandleInformation, buffer.data(),
                            static_cast<ULONG>(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0) return -1;
        const auto* list = reinterpret_cast<const SystemHandleList*>(buffer.data());
        const size_t fits = (buffer.size() - offsetof(SystemHandleList, entries)) /
                            sizeof(SystemHandleEntry);
        long long count = 0;
        for (size_t i = 0; i < std::min<size_t>(list->count, fits); ++i) {
            if (list->entries[i].ownerPid == pid) ++count;
        }
        return count;
    }
    return -1;
}

// Where the PEB keeps GdiSharedHandleTable; the tool has the bitness of the program it reads.
constexpr size_t kPebGdiTableOffset = sizeof(void*) == 8 ? 0xF8 : 0x94;

bool ReadGdiTable(HANDLE process, const void* at, GdiTable* table) {
    table->assign(kGdiTableEntries, GdiHandleEntry{});
    SIZE_T read = 0;
    return ReadProcessMemory(process, at, table->data(), kGdiTableBytes, &read) &&
           read == kGdiTableBytes;
}

// The table the PEB points at: 64-bit Wine fills that pointer in.
bool ReadPublishedGdiTable(HANDLE process, GdiTable* table) {
    auto query = NtdllFunction<QueryInformationProcess>("NtQueryInformationProcess");
    PROCESS_BASIC_INFORMATION basic = {};
    if (!query ||
        query(process, 0 /* ProcessBasicInformation */, &basic, sizeof(basic), nullptr) < 0) {
        return false;
    }
    void* at = nullptr;
    SIZE_T read = 0;
    return ReadProcessMemory(process,
                             static_cast<BYTE*>(static_cast<void*>(basic.PebBaseAddress)) +
                                 kPebGdiTableOffset,
                             &at, sizeof(at), &read) &&
           read == sizeof(at) && at && ReadGdiTable(process, at, table);
}

// 32-bit Wine leaves the PEB's pointer empty, but keeps the table all the same: a private
// allocation of the table's size that looks like one. Only a single such allocation counts.
bool ReadUnpublishedGdiTable(HANDLE process, GdiTable* table) {
    int found = 0;
    MEMORY_BASIC_INFORMATION region = {};
    GdiTable candidate;
    for (const BYTE* at = nullptr;
         VirtualQueryEx(process, at, &region, sizeof(region)) == sizeof(region);
         at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE &&
            region.Protect == PAGE_READWRITE && region.BaseAddress == region.AllocationBase &&
            region.RegionSize == kGdiTableBytes && ReadGdiTable(process, region.BaseAddress,
                                                                &candidate) &&
            LooksLikeGdiTable(candidate)) {
            ++found;
            table->swap(candidate);
        }
    }
    return found == 1;
}

// The process's own GDI objects; -1 when no table can be read.
long long GdiObjectCount(HANDLE process, DWORD pid) {
    GdiTable table;
    if (!(ReadPublishedGdiTable(process, &table) || ReadUnpublishedGdiTable(process, &table)) ||
        !LooksLikeGdiTable(table)) {
        return -1;
    }
    return OwnGdiObjectCount(table, pid);
}

struct WindowCount {
    DWORD pid;
    long long count;
};

BOOL CALLBACK CountWindow(HWND window, LPARAM context) {
    auto* counted = reinterpret_cast<WindowCount*>(context);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == counted->pid) ++counted->count;
    EnumChildWindows(window, CountWindow, context);
    return TRUE;
}

// Windows are the USER objects another process can see: top-level, their children, and the
// message-only ones.
long long WindowObjectCount(DWORD pid) {
    WindowCount counted = {pid, 0};
    EnumWindows(CountWindow, reinterpret_cast<LPARAM>(&counted));
    for (HWND window = FindWindowExA(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = FindWindowExA(HWND_MESSAGE, window, nullptr, nullptr)) {
        CountWindow(window, reinterpret_cast<LPARAM>(&counted));
    }
    return counted.count;
}

}  // namespace

int CmdProcesses(int argc, char**) {
    if (argc != 0) return TvxUsage;
    ScopedFile snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) return TvxFailed;
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL found = Process32First(snapshot.Get(), &entry); found;
         found = Process32Next(snapshot.Get(), &entry)) {
        printf("%lu %s\n", entry.th32ProcessID, entry.szExeFile);
    }
    return TvxOk;
}

int CmdWaitExit(int argc, char** argv) {
    DWORD pid = 0;
    uint64_t timeoutMs = INFINITE;
    if (argc < 1 || argc > 2 || !ParsePid(argv[0], &pid)) return TvxUsage;
    if (argc == 2 && !ParseUnsignedArg(argv[1], MAXDWORD, &timeoutMs)) return TvxUsage;
    ScopedKernelHandle process(
        OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process) return TvxMissing;
    if (WaitForSingleObject(process.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return TvxFailed;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode)) return TvxFailed;
    printf("%lu\n", exitCode);
    return TvxOk;
}

// The process a command names by its one argument, opened to read its memory, and its memory
// counters.
struct ProcessMemory {
    DWORD pid = 0;
    ScopedKernelHandle process;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
};

// TvxOk with memory filled in, or what the command returns when the process cannot be read.
int OpenAndReadMemory(int argc, char** argv, ProcessMemory* memory) {
    if (argc != 1 || !ParsePid(argv[0], &memory->pid)) return TvxUsage;
    memory->process.Reset(
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, memory->pid));
    if (!memory->process) return TvxMissing;
    memory->counters.cb = sizeof(memory->counters);
    if (!GetProcessMemoryInfo(memory->process.Get(),
                              reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory->counters),
                              sizeof(memory->counters))) {
        return TvxFailed;
    }
    return TvxOk;
}

// Prints "private=BYTES workingset=BYTES peakworkingset=BYTES".
int CmdMemory(int argc, char** argv) {
    ProcessMemory memory;
    const int status = OpenAndReadMemory(argc, argv, &memory);
    if (status != TvxOk) return status;
    printf("private=%" PRIu64 " workingset=%" PRIu64 " peakworkingset=%" PRIu64 "\n",
           static_cast<uint64_t>(memory.counters.PrivateUsage),
           static_cast<uint64_t>(memory.counters.WorkingSetSize),
           static_cast<uint64_t>(memory.counters.PeakWorkingSetSize));
    return TvxOk;
}

// Prints "handles=N gdi=N user=N workingset=BYTES": the counts that grow when a program leaks
// kernel, GDI or USER objects (USER: its windows). A count that cannot be read is -1.
int CmdCounts(int argc, char** argv) {
    ProcessMemory memory;
    const int status = OpenAndReadMemory(argc, argv, &memory);
    if (status != TvxOk) return status;
    printf("handles=%lld gdi=%lld user=%lld workingset=%" PRIu64 "\n",
           KernelHandleCount(memory.pid), GdiObjectCount(memory.process.Get(), memory.pid),
           WindowObjectCount(memory.pid), static_cast<uint64_t>(memory.counters.WorkingSetSize));
    return TvxOk;
}
