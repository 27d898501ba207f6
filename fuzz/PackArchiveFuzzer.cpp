// Any bytes as a sound pack's .zip: the directory, the config's folder and every file read.
// Whatever comes in, each name kept is safe to join to a folder, and each file read has the
// size the directory gave it and no more than the limits allow.
#include "schemes/PackArchive.h"
#include "schemes/PackFileName.h"

#include <cstdint>
#include <vector>

namespace {

constexpr size_t kMostBytesPerRead = 1 << 20;

PackArchiveLimits SmallLimits() {
    PackArchiveLimits limits;
    limits.entries = 64;
    limits.entryBytes = 4 << 20;
    limits.totalBytes = 8 << 20;
    return limits;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    PackArchive archive(SmallLimits());
    PackArchiveFailure failure;
    if (!archive.Open(std::vector<uint8_t>(data, data + size), failure)) {
        if (failure.code == PackArchiveError::None || !archive.Entries().empty()) __builtin_trap();
        return 0;
    }
    std::string folder;
    if (archive.FindConfigFolder(folder, failure) && !folder.empty() && folder.back() != '/') {
        __builtin_trap();
    }
    uint64_t total = 0;
    for (const PackArchiveEntry& entry : archive.Entries()) {
        if (!IsSafePackFileName(entry.name)) __builtin_trap();
        std::vector<uint8_t> bytes;
        if (archive.Read(entry.name, kMostBytesPerRead, bytes, failure)) {
            total += bytes.size();
            if (bytes.size() != entry.size || bytes.size() > kMostBytesPerRead) __builtin_trap();
        } else if (failure.code == PackArchiveError::None || !bytes.empty()) {
            __builtin_trap();
        }
    }
    if (total > SmallLimits().totalBytes) __builtin_trap();
    return 0;
}
