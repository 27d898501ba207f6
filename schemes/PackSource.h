#pragma once
// Where a sound pack's files come from: the folder of its config.json, or a .zip holding one.
// Every file is read by the name the pack gives it, refused when that name could reach outside
// the pack, and held under a size limit, the same way for both forms.

#include "schemes/PackArchive.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PackSourceError {
    None,
    Unreadable,  // the file cannot be opened or read
    TooLarge,    // over the limit of what it holds
    UnsafeName,  // "..", an absolute path or a drive letter
    Archive,     // the .zip was refused; archiveError says why
};

struct PackSourceFailure {
    PackSourceError code = PackSourceError::None;
    PackArchiveError archiveError = PackArchiveError::None;
    std::string file;    // the file at fault, as the user would find it
    std::string detail;  // what is wrong, in English, for the message's last line
};

class PackSource {
public:
    // path names a config.json or a .zip (told from its bytes); separator is the one of the
    // file system's paths.
    bool Open(const std::string& path, char separator, PackSourceFailure& failure);
    bool ReadConfig(std::vector<uint8_t>& bytes, PackSourceFailure& failure);
    // A file named by the pack, relative to its config.json.
    bool Read(const std::string& name, size_t maxBytes, std::vector<uint8_t>& bytes,
              PackSourceFailure& failure);
    // How a message names a file of the pack: its path, or the .zip's path and its name inside.
    std::string Describe(const std::string& name) const;

private:
    bool ReadArchived(const std::string& entry, size_t maxBytes, std::vector<uint8_t>& bytes,
                      PackSourceFailure& failure);

    std::string path;
    std::string folder;  // the config.json's folder, ending with the separator; "" for a zip
    char separator = '/';
    bool zipped = false;
    std::string configFolder;  // inside the zip: "" or "Top/"
    PackArchive archive;
};
