// tvxctl: drives Tapvox from the end-to-end tests. Results go to stdout, one per line; the exit
// code says what happened: 0 done, 1 failed or timed out, 2 bad command line, 3 not found.
#include <cstdio>
#include <cstring>

#include "tests/tools/TvxCommands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(int argc, char** argv);
    const char* usage;
};

const Command kCommands[] = {
    {"find-window", CmdFindWindow, "[CLASS] [TIMEOUT_MS]   print \"HWND PID\" of the window"},
    {"windows", CmdWindows, "                       list top-level windows and their children"},
    {"foreground", CmdForeground, "                    print \"HWND CLASS\" of the foreground window"},
    {"send", CmdSend, "MSG WPARAM [LPARAM]          SendMessage to Tapvox; MSG is a number or a "
                      "registered name"},
    {"send-window", CmdSendWindow, "HWND MSG WPARAM [LPARAM]  SendMessage to any window"},
    {"post", CmdPost, "MSG WPARAM [LPARAM]          PostMessage to Tapvox"},
    {"post-window", CmdPostWindow, "HWND MSG WPARAM [LPARAM]  PostMessage to any window"},
    {"send-command", CmdSendCommand, "ID          send WM_COMMAND ID to Tapvox"},
    {"post-hook", CmdPostHook, "[--every MS] EVENT[:LPARAM]...  post \"NEW_HOOK_SYSTEM\" events to "
                               "Tapvox, one every MS ms"},
    {"reg-read", CmdRegRead, "KEY VALUE            print \"TYPE DATA\"; KEY starts HKCU\\ or HKLM\\"},
    {"reg-write", CmdRegWrite, "KEY VALUE sz|dword|binary|raw:TYPE[:COUNT] DATA"},
    {"reg-delete", CmdRegDelete, "KEY [VALUE]        delete the value, or the key with its subkeys"},
    {"processes", CmdProcesses, "                   print \"PID EXE\" for every process"},
    {"wait-exit", CmdWaitExit, "PID [TIMEOUT_MS]   wait for the process and print its exit code"},
    {"memory", CmdMemory, "PID                     print private bytes and working set"},
    {"counts", CmdCounts, "PID                     print handle, GDI and USER object counts and working set"},
    {"play", CmdPlay, "FILE [memory-async|memory-sync|file-async|file-sync] [WAIT_MS]"},
    {"mixformat", CmdMixFormat, "                   print the default sound device's mix format: "
                                "\"float|pcm|other CHANNELS RATE BITS\""},
    {"edit-window", CmdEditWindow, "[TITLE] [LIFETIME_MS] [TEXT_FILE] [ACTIVATION_FILE]  show a "
                                   "focused edit box"},
    {"password-window", CmdPasswordWindow, "[LIFETIME_MS]  show a password box above a focused "
                                           "ordinary edit box"},
    {"menu-texts", CmdMenuTexts, "[TIMEOUT_MS]     print the open popup menu's items, in UTF-8"},
    {"window-texts", CmdWindowTexts, "HWND      print a window's title and its children's texts"},
    {"set-text", CmdSetText, "HWND ID TEXT  set the text of a dialog's control"},
};

void PrintUsage() {
    fprintf(stderr, "usage: tvxctl COMMAND [ARGS]\n");
    for (const Command& command : kCommands) fprintf(stderr, "  %s %s\n", command.name, command.usage);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintUsage();
        return TvxUsage;
    }
    for (const Command& command : kCommands) {
        if (strcmp(argv[1], command.name) == 0) {
            int result = command.run(argc - 2, argv + 2);
            if (result == TvxUsage) fprintf(stderr, "usage: tvxctl %s %s\n", command.name, command.usage);
            fflush(stdout);
            return result;
        }
    }
    PrintUsage();
    return TvxUsage;
}
