#include "schemes/StagedFolder.h"

#include <sys/stat.h>

#include <cstdio>
#ifdef _WIN32
#include <direct.h>
#else
#include <unistd.h>
#endif

namespace {

// Enough for imports started at the same moment; a folder left by a crash is skipped, and
// hidden from the scheme list by its full stop.
constexpr int kMaxStagingAttempts = 100;
constexpr char kStagingPrefix[] = ".import-";

bool MakeFolder(const std::string& path) {
#ifdef _WIN32
    return _mkdir(path.c_str()) == 0;
#else
    return mkdir(path.c_str(), 0777) == 0;
#endif
}

bool RemoveFolder(const std::string& path) {
#ifdef _WIN32
    return _rmdir(path.c_str()) == 0;
#else
    return rmdir(path.c_str()) == 0;
#endif
}

}  // namespace

StagedFolder::~StagedFolder() { Discard(); }

bool StagedFolder::Create(const std::string& parentFolder) {
    Discard();
    if (parentFolder.empty()) return false;
    // The folder that made the first attempt fail exists already: a creation claims its name.
    for (int attempt = 0; attempt < kMaxStagingAttempts; ++attempt) {
        const std::string candidate = parentFolder + kStagingPrefix + std::to_string(attempt);
        if (MakeFolder(candidate)) {
            parent = parentFolder;
            path = candidate + parentFolder.back();
            committed = false;
            return true;
        }
    }
    return false;
}

bool StagedFolder::Write(const std::string& fileName, const void* data, size_t size) {
    if (path.empty() || committed) return false;
    const std::string filePath = path + fileName;
    std::FILE* file = std::fopen(filePath.c_str(), "wb");
    if (file == nullptr) return false;
    written.push_back(filePath);
    const bool whole = std::fwrite(data, 1, size, file) == size;
    const bool closed = std::fclose(file) == 0;
    return whole && closed;
}

bool StagedFolder::Commit(const std::string& name) {
    if (path.empty() || committed) return false;
    const std::string target = parent + name;
    // rename() would replace an empty folder on some systems; a name taken meanwhile stays so.
    if (PathExists(target)) return false;
    if (std::rename(path.substr(0, path.size() - 1).c_str(), target.c_str()) != 0) return false;
    committed = true;
    return true;
}

void StagedFolder::Discard() {
    if (!path.empty() && !committed) {
        for (const std::string& file : written) std::remove(file.c_str());
        RemoveFolder(path.substr(0, path.size() - 1));
    }
    written.clear();
    path.clear();
    parent.clear();
    committed = false;
}

bool PathExists(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0;
}
