#include "schemes/PackSource.h"

#include "schemes/PackFileName.h"
#include "schemes/SoundPack.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr char kConfigName[] = "config.json";

enum class FileRead { Ok, Unreadable, TooLarge };

// The whole file, or a refusal as soon as it holds more than maxBytes: a size asked first
// could change before the read.
FileRead ReadBounded(const std::string& path, size_t maxBytes, std::vector<uint8_t>& bytes) {
    bytes.clear();
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return FileRead::Unreadable;
    FileRead result = FileRead::Ok;
    uint8_t chunk[64 * 1024];
    for (;;) {
        const size_t got = std::fread(chunk, 1, sizeof chunk, file);
        if (got > maxBytes - bytes.size()) {
            result = FileRead::TooLarge;
            break;
        }
        bytes.insert(bytes.end(), chunk, chunk + got);
        if (got < sizeof chunk) {
            if (std::ferror(file)) result = FileRead::Unreadable;
            break;
        }
    }
    std::fclose(file);
    if (result != FileRead::Ok) bytes.clear();
    return result;
}

bool IsZipImage(const std::vector<uint8_t>& head) {
    return head.size() >= 4 && head[0] == 'P' && head[1] == 'K' &&
           ((head[2] == 3 && head[3] == 4) || (head[2] == 5 && head[3] == 6));
}

std::string WithSeparators(std::string name, char separator) {
    for (char& c : name) {
        if (c == '/' || c == '\\') c = separator;
    }
    return name;
}

bool Fail(PackSourceFailure& failure, PackSourceError code, std::string file, std::string detail) {
    failure.code = code;
    failure.file = std::move(file);
    failure.detail = std::move(detail);
    return false;
}

bool FailRead(PackSourceFailure& failure, FileRead read, const std::string& file,
              size_t maxBytes) {
    if (read == FileRead::TooLarge)
        return Fail(failure, PackSourceError::TooLarge, file,
                    "larger than " + std::to_string(maxBytes >> 20) + " MB");
    return Fail(failure, PackSourceError::Unreadable, file, "cannot be opened or read");
}

}  // namespace

bool PackSource::Open(const std::string& packPath, char pathSeparator,
                      PackSourceFailure& failure) {
    path = packPath;
    separator = pathSeparator;
    const size_t lastSeparator = path.find_last_of(separator);
    folder = lastSeparator == std::string::npos ? "" : path.substr(0, lastSeparator + 1);
    std::vector<uint8_t> image;
    const FileRead read = ReadBounded(path, PackArchiveLimits{}.archiveBytes, image);
    if (read != FileRead::Ok) return FailRead(failure, read, path, PackArchiveLimits{}.archiveBytes);
    zipped = IsZipImage(image);
    if (!zipped) return true;  // read again, under the config's own limit, by ReadConfig

    folder.clear();
    PackArchiveFailure refused;
    if (!archive.Open(std::move(image), refused) ||
        !archive.FindConfigFolder(configFolder, refused)) {
        failure.archiveError = refused.code;
        return Fail(failure, PackSourceError::Archive, Describe(refused.detail), refused.detail);
    }
    return true;
}

bool PackSource::ReadConfig(std::vector<uint8_t>& bytes, PackSourceFailure& failure) {
    if (zipped) return ReadArchived(configFolder + kConfigName, kMaxPackConfigBytes, bytes, failure);
    const FileRead read = ReadBounded(path, kMaxPackConfigBytes, bytes);
    return read == FileRead::Ok || FailRead(failure, read, path, kMaxPackConfigBytes);
}

bool PackSource::Read(const std::string& name, size_t maxBytes, std::vector<uint8_t>& bytes,
                      PackSourceFailure& failure) {
    if (!IsSafePackFileName(name))
        return Fail(failure, PackSourceError::UnsafeName, Describe(name),
                    "the name leads outside the pack");
    if (zipped) return ReadArchived(configFolder + WithSeparators(name, '/'), maxBytes, bytes, failure);
    const FileRead read = ReadBounded(folder + WithSeparators(name, separator), maxBytes, bytes);
    return read == FileRead::Ok || FailRead(failure, read, Describe(name), maxBytes);
}

bool PackSource::ReadArchived(const std::string& entry, size_t maxBytes,
                              std::vector<uint8_t>& bytes, PackSourceFailure& failure) {
    PackArchiveFailure refused;
    if (archive.Read(entry, maxBytes, bytes, refused)) return true;
    failure.archiveError = refused.code;
    const std::string detail = refused.detail.empty() ? entry : refused.detail;
    if (refused.code == PackArchiveError::NoEntry)
        return Fail(failure, PackSourceError::Unreadable, Describe(entry), "not in the archive");
    if (refused.code == PackArchiveError::EntryTooLarge)
        return Fail(failure, PackSourceError::TooLarge, Describe(entry),
                    "larger than " + std::to_string(maxBytes >> 20) + " MB");
    return Fail(failure, PackSourceError::Archive, Describe(entry), detail);
}

std::string PackSource::Describe(const std::string& name) const {
    if (zipped) return name.empty() ? path : path + ": " + name;
    return folder + WithSeparators(name, separator);
}
