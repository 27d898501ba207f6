#pragma once
// A folder filled under a hidden name beside its final place and renamed into place only when
// complete, so that a failure part-way leaves nothing behind.

#include <cstddef>
#include <string>
#include <vector>

class StagedFolder {
public:
    StagedFolder() = default;
    StagedFolder(const StagedFolder&) = delete;
    StagedFolder& operator=(const StagedFolder&) = delete;
    // Removes what it wrote unless it was committed.
    ~StagedFolder();

    // Creates a folder whose name begins with a full stop (the scheme list skips those) inside
    // parent, which ends with a separator. False when none could be made.
    bool Create(const std::string& parent);
    // Writes a file of the folder; false when it cannot be written whole.
    bool Write(const std::string& fileName, const void* data, size_t size);
    // Renames the folder to name inside parent; false, keeping it staged, when that fails
    // (a folder of that name exists, say).
    bool Commit(const std::string& name);

    const std::string& Path() const { return path; }  // ends with a separator

private:
    void Discard();

    std::string parent;
    std::string path;
    std::vector<std::string> written;
    bool committed = false;
};

// Whether something (file or folder) exists at path.
bool PathExists(const std::string& path);
