#pragma once
// A sound pack's .zip archive held in memory: its file list and one file's bytes, with every
// size that the archive claims or that inflating produces held under a limit.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class PackArchiveError {
    None,
    TooLarge,           // the archive itself is over its limit
    NotZip,             // no end-of-directory record, or records that do not hold together
    Truncated,          // a record or an entry's data runs past the end of the image
    TooManyEntries,
    UnsafeName,         // "..", an absolute path, a drive letter or a control character
    Unsupported,        // encrypted, a method other than stored and deflate, or zip64
    EntryTooLarge,      // one file over the per-file limit
    TotalTooLarge,      // all files together over the total limit, or a suspicious ratio
    CorruptData,        // inflate failed, the size or checksum disagrees with the directory, or
                        // two files share a name
    NoEntry,            // no file of the name asked for
    NoConfig,           // no config.json at the root or in a single top folder
    AmbiguousConfig,    // config.json in more than one top folder and none at the root
};

struct PackArchiveFailure {
    PackArchiveError code = PackArchiveError::None;
    std::string detail;  // the entry at fault, as the archive names it
};

struct PackArchiveLimits {
    size_t archiveBytes = 64u << 20;
    size_t entries = 4096;
    size_t entryBytes = 48u << 20;
    uint64_t totalBytes = 512u << 20;
    // Deflate reaches about 1:1000 at best; a ratio beyond this is a bomb, not a sound.
    uint32_t maxRatio = 1100;
};

struct PackArchiveEntry {
    std::string name;  // '/'-separated, as stored (backslashes turned into '/')
    uint64_t compressedSize = 0;
    uint64_t size = 0;  // as the directory claims; reading holds the data to it
    uint16_t method = 0;
    uint32_t crc32 = 0;
    uint64_t localHeaderOffset = 0;
};

class PackArchive {
public:
    explicit PackArchive(PackArchiveLimits archiveLimits = {}) : limits(archiveLimits) {}

    // Takes the archive and reads its central directory; false, with the reason, when the
    // archive is refused. Folder entries are left out of Entries().
    bool Open(std::vector<uint8_t> archive, PackArchiveFailure& failure);

    const std::vector<PackArchiveEntry>& Entries() const { return entries; }

    // The file of that name: an exact match, or else the one match that differs only in ASCII
    // case (packs made on Windows do not always agree with their config on case). Stops
    // inflating at maxBytes and at the size the directory gives, whichever is smaller.
    bool Read(const std::string& name, size_t maxBytes, std::vector<uint8_t>& bytes,
              PackArchiveFailure& failure);

    // The folder that holds the pack's config.json: "" for the root, or "Top/" when it sits in
    // one top folder. Names in the config are relative to it.
    bool FindConfigFolder(std::string& folder, PackArchiveFailure& failure) const;

private:
    bool ReadDirectory(PackArchiveFailure& failure);
    const PackArchiveEntry* Find(const std::string& name) const;

    PackArchiveLimits limits;
    std::vector<uint8_t> image;
    std::vector<PackArchiveEntry> entries;
    uint64_t inflatedSoFar = 0;  // over every Read, against limits.totalBytes
};

