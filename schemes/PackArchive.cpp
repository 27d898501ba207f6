#include "schemes/PackArchive.h"

#include "audio/LittleEndian.h"
#include "schemes/PackFileName.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <string_view>
#include <utility>

namespace {

constexpr uint32_t kEndRecordSignature = 0x06054b50;
constexpr uint32_t kDirectorySignature = 0x02014b50;
constexpr uint32_t kLocalSignature = 0x04034b50;
constexpr size_t kEndRecordSize = 22;
constexpr size_t kDirectoryRecordSize = 46;
constexpr size_t kLocalRecordSize = 30;
constexpr size_t kLongestComment = 0xFFFF;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflate = 8;
constexpr uint16_t kFlagEncrypted = 1;
// Below this, a file's ratio tells nothing: a small header can stand for a page of silence.
constexpr uint64_t kRatioFloorBytes = 1u << 16;


bool Fail(PackArchiveFailure& failure, PackArchiveError code, std::string detail) {
    failure.code = code;
    failure.detail = std::move(detail);
    return false;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; }

bool EqualIgnoringAsciiCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

// Where the end-of-directory record starts, searching back over a comment; size when none.
size_t FindEndRecord(const std::vector<uint8_t>& image) {
    if (image.size() < kEndRecordSize) return image.size();
    const size_t last = image.size() - kEndRecordSize;
    const size_t first = last > kLongestComment ? last - kLongestComment : 0;
    for (size_t at = last + 1; at-- > first;) {
        if (ReadLittle32(&image[at]) == kEndRecordSignature &&
            at + kEndRecordSize + ReadLittle16(&image[at + 20]) == image.size()) {
            return at;
        }
    }
    return image.size();
}

// Inflates a raw deflate stream into exactly size bytes; false when it ends early, holds
// more (inflate then runs out of room before the stream's end), or is not deflate.
bool InflateExactly(const uint8_t* in, size_t inSize, size_t size, std::vector<uint8_t>& out) {
    out.assign(size, 0);
    z_stream stream{};
    if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return false;
    stream.next_in = const_cast<Bytef*>(in);
    stream.avail_in = uInt(inSize);
    stream.next_out = out.data();
    stream.avail_out = uInt(size);
    const bool whole = inflate(&stream, Z_FINISH) == Z_STREAM_END && stream.total_out == size;
    inflateEnd(&stream);
    return whole;
}

}  // namespace

bool PackArchive::Open(std::vector<uint8_t> archive, PackArchiveFailure& failure) {
    image = std::move(archive);
    entries.clear();
    inflatedSoFar = 0;
    if (ReadDirectory(failure)) return true;
    entries.clear();
    image.clear();
    return false;
}

bool PackArchive::ReadDirectory(PackArchiveFailure& failure) {
    if (image.size() > limits.archiveBytes) {
        return Fail(failure, PackArchiveError::TooLarge, std::to_string(image.size()) + " bytes");
    }
    const size_t end = FindEndRecord(image);
    if (end == image.size()) return Fail(failure, PackArchiveError::NotZip, "");
    const uint8_t* record = &image[end];
    const uint16_t disk = ReadLittle16(record + 4);
    const uint16_t directoryDisk = ReadLittle16(record + 6);
    const uint16_t onThisDisk = ReadLittle16(record + 8);
    const uint16_t count = ReadLittle16(record + 10);
    const uint32_t directorySize = ReadLittle32(record + 12);
    const uint32_t directoryOffset = ReadLittle32(record + 16);
    if (count == 0xFFFF || directorySize == 0xFFFFFFFF || directoryOffset == 0xFFFFFFFF) {
        return Fail(failure, PackArchiveError::Unsupported, "zip64");
    }
    if (disk != 0 || directoryDisk != 0 || onThisDisk != count) {
        return Fail(failure, PackArchiveError::Unsupported, "split archive");
    }
    if (count > limits.entries) {
        return Fail(failure, PackArchiveError::TooManyEntries, std::to_string(count) + " entries");
    }
    if (uint64_t(directoryOffset) + directorySize > end) {
        return Fail(failure, PackArchiveError::Truncated, "central directory");
    }

    uint64_t total = 0;
    std::set<std::string> names;
    size_t at = directoryOffset;
    const size_t directoryEnd = size_t(directoryOffset) + directorySize;
    for (uint16_t i = 0; i < count; ++i) {
        if (directoryEnd - at < kDirectoryRecordSize || ReadLittle32(&image[at]) != kDirectorySignature) {
            return Fail(failure, PackArchiveError::Truncated, "central directory");
        }
        const uint8_t* header = &image[at];
        const size_t nameLength = ReadLittle16(header + 28);
        const size_t recordLength =
            kDirectoryRecordSize + nameLength + ReadLittle16(header + 30) + ReadLittle16(header + 32);
        if (directoryEnd - at < recordLength) {
            return Fail(failure, PackArchiveError::Truncated, "central directory");
        }
        PackArchiveEntry entry;
        entry.name.assign(reinterpret_cast<const char*>(header + kDirectoryRecordSize), nameLength);
        std::replace(entry.name.begin(), entry.name.end(), '\\', '/');
        entry.method = ReadLittle16(header + 10);
        entry.crc32 = ReadLittle32(header + 16);
        entry.compressedSize = ReadLittle32(header + 20);
        entry.size = ReadLittle32(header + 24);
        entry.localHeaderOffset = ReadLittle32(header + 42);
        const uint16_t flags = ReadLittle16(header + 8);
        at += recordLength;

        std::string_view asFile = entry.name;
        if (!asFile.empty() && asFile.back() == '/') asFile.remove_suffix(1);  // a folder's entry
        if (!IsSafePackFileName(asFile)) {
            return Fail(failure, PackArchiveError::UnsafeName, entry.name);
        }
        if (entry.name.back() == '/') continue;  // a folder: nothing to read
        // Two files of one name: which of them a config means cannot be told.
        if (!names.insert(entry.name).second) {
            return Fail(failure, PackArchiveError::CorruptData, entry.name);
        }
        if (entry.compressedSize == 0xFFFFFFFF || entry.size == 0xFFFFFFFF ||
            entry.localHeaderOffset == 0xFFFFFFFF || (flags & kFlagEncrypted) != 0 ||
            (entry.method != kMethodStored && entry.method != kMethodDeflate)) {
            return Fail(failure, PackArchiveError::Unsupported, entry.name);
        }
        if (entry.size > limits.entryBytes) {
            return Fail(failure, PackArchiveError::EntryTooLarge, entry.name);
        }
        total += entry.size;
        const bool storedMismatch =
            entry.method == kMethodStored && entry.size != entry.compressedSize;
        const bool beyondRatio = entry.size > kRatioFloorBytes &&
                                 entry.size > entry.compressedSize * limits.maxRatio;
        if (total > limits.totalBytes || beyondRatio) {
            return Fail(failure, PackArchiveError::TotalTooLarge, entry.name);
        }
        if (storedMismatch) return Fail(failure, PackArchiveError::CorruptData, entry.name);

        // The local header's own lengths decide where the data begins.
        const uint64_t local = entry.localHeaderOffset;
        if (local + kLocalRecordSize > directoryOffset ||
            ReadLittle32(&image[local]) != kLocalSignature) {
            return Fail(failure, PackArchiveError::Truncated, entry.name);
        }
        const uint64_t dataStart = local + kLocalRecordSize + ReadLittle16(&image[local + 26]) +
                                   ReadLittle16(&image[local + 28]);
        if (dataStart + entry.compressedSize > directoryOffset) {
            return Fail(failure, PackArchiveError::Truncated, entry.name);
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

const PackArchiveEntry* PackArchive::Find(const std::string& name) const {
    for (const PackArchiveEntry& entry : entries) {
        if (entry.name == name) return &entry;
    }
    const PackArchiveEntry* found = nullptr;
    for (const PackArchiveEntry& entry : entries) {
        if (!EqualIgnoringAsciiCase(entry.name, name)) continue;
        if (found != nullptr) return nullptr;  // two candidates: neither is the one meant
        found = &entry;
    }
    return found;
}

bool PackArchive::Read(const std::string& name, size_t maxBytes, std::vector<uint8_t>& bytes,
                       PackArchiveFailure& failure) {
    const PackArchiveEntry* entry = Find(name);
    if (entry == nullptr) return Fail(failure, PackArchiveError::NoEntry, name);
    if (entry->size > maxBytes) return Fail(failure, PackArchiveError::EntryTooLarge, entry->name);
    if (inflatedSoFar + entry->size > limits.totalBytes) {
        return Fail(failure, PackArchiveError::TotalTooLarge, entry->name);
    }
    const uint64_t local = entry->localHeaderOffset;
    const uint8_t* data = &image[local + kLocalRecordSize + ReadLittle16(&image[local + 26]) +
                                 ReadLittle16(&image[local + 28])];
    const size_t size = size_t(entry->size);
    if (entry->method == kMethodStored) {
        bytes.assign(data, data + size);
    } else if (!InflateExactly(data, size_t(entry->compressedSize), size, bytes)) {
        bytes.clear();
        return Fail(failure, PackArchiveError::CorruptData, entry->name);
    }
    if (crc32(0, bytes.data(), uInt(bytes.size())) != entry->crc32) {
        bytes.clear();
        return Fail(failure, PackArchiveError::CorruptData, entry->name);
    }
    inflatedSoFar += size;
    return true;
}

bool PackArchive::FindConfigFolder(std::string& folder, PackArchiveFailure& failure) const {
    static const std::string kConfig = "config.json";
    size_t nestedCount = 0;
    std::string nestedFolder;
    for (const PackArchiveEntry& entry : entries) {
        if (entry.name == kConfig) {
            folder.clear();
            return true;
        }
        const size_t slash = entry.name.find('/');
        if (slash != std::string::npos && entry.name.compare(slash + 1, std::string::npos, kConfig) == 0) {
            ++nestedCount;
            nestedFolder = entry.name.substr(0, slash + 1);
        }
    }
    if (nestedCount == 0) return Fail(failure, PackArchiveError::NoConfig, kConfig);
    if (nestedCount > 1) return Fail(failure, PackArchiveError::AmbiguousConfig, kConfig);
    folder = nestedFolder;
    return true;
}
