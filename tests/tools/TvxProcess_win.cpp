// Process commands of tvxctl: listing processes, waiting for an exit, measuring memory.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <cinttypes>
#include <cstdio>

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

}  // namespace

int CmdProcesses(int argc, char**) {
    if (argc != 0) return TvxUsage;
    FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot.Valid()) return TvxFailed;
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
    KernelHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
    if (!process.Valid()) return TvxMissing;
    if (WaitForSingleObject(process.Get(), static_cast<DWORD>(timeoutMs)) != WAIT_OBJECT_0) {
        return TvxFailed;
    }
    DWORD exitCode = 0;
    if (!GetExitCodeProcess(process.Get(), &exitCode)) return TvxFailed;
    printf("%lu\n", exitCode);
    return TvxOk;
}

// Prints "private=BYTES workingset=BYTES peakworkingset=BYTES".
int CmdMemory(int argc, char** argv) {
    DWORD pid = 0;
    if (argc != 1 || !ParsePid(argv[0], &pid)) return TvxUsage;
    KernelHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid));
    if (!process.Valid()) return TvxMissing;
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof(counters);
    if (!GetProcessMemoryInfo(process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                              sizeof(counters))) {
        return TvxFailed;
    }
    printf("private=%" PRIu64 " workingset=%" PRIu64 " peakworkingset=%" PRIu64 "\n",
           static_cast<uint64_t>(counters.PrivateUsage),
           static_cast<uint64_t>(counters.WorkingSetSize),
           static_cast<uint64_t>(counters.PeakWorkingSetSize));
    return TvxOk;
}
