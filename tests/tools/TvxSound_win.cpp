// "tvxctl play": plays a WAV file the ways Tapvox can, so tests can check what the sound
// capture records against a file whose samples they know.
#include <windows.h>
#include <mmsystem.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/tools/ToolArgs.h"
#include "tests/tools/ToolHandle.h"
#include "tests/tools/TvxCommands.h"

namespace {

const DWORD kMaxWaveBytes = 64u * 1024u * 1024u;
const DWORD kDefaultAsyncWaitMs = 2000;

struct PlayMode {
    const char* name;
    bool fromMemory;
    bool async;
};

const PlayMode kModes[] = {
    {"memory-async", true, true},
    {"memory-sync", true, false},
    {"file-async", false, true},
    {"file-sync", false, false},
};

bool ReadWholeFile(const char* path, std::vector<BYTE>* bytes) {
    ScopedFile file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    DWORD size = GetFileSize(file.Get(), nullptr);
    if (size == INVALID_FILE_SIZE || size > kMaxWaveBytes) return false;
    bytes->resize(size);
    DWORD read = 0;
    return size == 0 || (ReadFile(file.Get(), bytes->data(), size, &read, nullptr) && read == size);
}

}  // namespace

int CmdPlay(int argc, char** argv) {
    if (argc < 1 || argc > 3) return TvxUsage;
    const PlayMode* mode = &kModes[0];
    if (argc >= 2) {
        mode = nullptr;
        for (const PlayMode& candidate : kModes) {
            if (strcmp(argv[1], candidate.name) == 0) mode = &candidate;
        }
        if (!mode) return TvxUsage;
    }
    uint64_t waitMs = kDefaultAsyncWaitMs;
    if (argc == 3 && !ParseUnsignedArg(argv[2], MAXDWORD, &waitMs)) return TvxUsage;

    std::vector<BYTE> image;
    DWORD flags = mode->async ? SND_ASYNC : SND_SYNC;
    const char* sound = argv[0];
    if (mode->fromMemory) {
        if (!ReadWholeFile(argv[0], &image) || image.empty()) {
            fprintf(stderr, "tvxctl: cannot read %s\n", argv[0]);
            return TvxMissing;
        }
        flags |= SND_MEMORY;
        sound = reinterpret_cast<const char*>(image.data());
    } else {
        flags |= SND_FILENAME;
    }
    if (!PlaySoundA(sound, nullptr, flags | SND_NODEFAULT)) {
        fprintf(stderr, "tvxctl: PlaySound failed\n");
        return TvxFailed;
    }
    // An asynchronous sound plays only while this process (and the image) lives.
    if (mode->async) Sleep(static_cast<DWORD>(waitMs));
    return TvxOk;
}
