#include "schemes/PackArchive.h"

#include "embedded/pack.zip.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Deflate(const Bytes& data) {
    z_stream stream{};
    EXPECT_EQ(deflateInit2(&stream, 9, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY), Z_OK);
    Bytes out(deflateBound(&stream, uLong(data.size())));
    stream.next_in = const_cast<Bytef*>(data.data());
    stream.avail_in = uInt(data.size());
    stream.next_out = out.data();
    stream.avail_out = uInt(out.size());
    EXPECT_EQ(deflate(&stream, Z_FINISH), Z_STREAM_END);
    out.resize(stream.total_out);
    deflateEnd(&stream);
    return out;
}

struct TestEntry {
    std::string name;
    Bytes data;
    uint16_t method = 8;
    uint16_t flags = 0;
    // When set, what the directory claims instead of the truth.
    int64_t claimedSize = -1;
    int64_t claimedCrc = -1;
};

void Put16(Bytes& out, uint32_t value) {
    out.push_back(uint8_t(value));
    out.push_back(uint8_t(value >> 8));
}
void Put32(Bytes& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}
void PutText(Bytes& out, const std::string& text) { out.insert(out.end(), text.begin(), text.end()); }

// A zip archive: local headers with their data, the central directory, the end record.
Bytes MakeZip(const std::vector<TestEntry>& entries, uint16_t claimedCount = 0xFFFF - 1) {
    Bytes out;
    Bytes directory;
    for (const TestEntry& entry : entries) {
        const Bytes stored = entry.method == 8 ? Deflate(entry.data) : entry.data;
        const uint32_t crc = entry.claimedCrc >= 0 ? uint32_t(entry.claimedCrc)
                                                   : uint32_t(crc32(0, entry.data.data(), uInt(entry.data.size())));
        const uint32_t size = entry.claimedSize >= 0 ? uint32_t(entry.claimedSize) : uint32_t(entry.data.size());
        const uint32_t offset = uint32_t(out.size());
        Put32(out, 0x04034b50);
        for (uint32_t value : {20u, uint32_t(entry.flags), uint32_t(entry.method), 0u, 0u}) Put16(out, value);
        Put32(out, crc);
        Put32(out, uint32_t(stored.size()));
        Put32(out, size);
        Put16(out, uint32_t(entry.name.size()));
        Put16(out, 0);
        PutText(out, entry.name);
        out.insert(out.end(), stored.begin(), stored.end());

        Put32(directory, 0x02014b50);
        for (uint32_t value : {20u, 20u, uint32_t(entry.flags), uint32_t(entry.method), 0u, 0u}) {
            Put16(directory, value);
        }
        Put32(directory, crc);
        Put32(directory, uint32_t(stored.size()));
        Put32(directory, size);
        for (uint32_t value : {uint32_t(entry.name.size()), 0u, 0u, 0u, 0u}) Put16(directory, value);
        Put32(directory, 0);
        Put32(directory, offset);
        PutText(directory, entry.name);
    }
    const uint32_t directoryOffset = uint32_t(out.size());
    out.insert(out.end(), directory.begin(), directory.end());
    const uint16_t count = claimedCount == 0xFFFF - 1 ? uint16_t(entries.size()) : claimedCount;
    Put32(out, 0x06054b50);
    for (uint32_t value : {0u, 0u, uint32_t(count), uint32_t(count)}) Put16(out, value);
    Put32(out, uint32_t(directory.size()));
    Put32(out, directoryOffset);
    Put16(out, 0);
    return out;
}

const Bytes kClick = Text("RIFF....WAVEfmt click click click click click");

TEST(PackArchive, ReadsEachFormOfArchive) {
    struct Case {
        const char* what;
        std::vector<TestEntry> entries;
        std::string read;  // the name asked for
        std::string stored;  // the name the entry ends up with
        std::string configFolder;
    };
    const Case cases[] = {
        {"deflated at the root", {{"config.json", Text("{}")}, {"click.wav", kClick}}, "click.wav",
         "click.wav", ""},
        {"stored in one top folder", {{"Pack/config.json", Text("{}"), 0}, {"Pack/click.wav", kClick, 0}},
         "Pack/click.wav", "Pack/click.wav", "Pack/"},
        {"backslashes as separators", {{"Pack\\config.json", Text("{}")}, {"Pack\\a b\\[.wav", kClick}},
         "Pack/a b/[.wav", "Pack/a b/[.wav", "Pack/"},
        {"case differs from the config", {{"config.json", Text("{}")}, {"Click.WAV", kClick}}, "click.wav",
         "Click.WAV", ""},
        {"folder entries left out", {{"Pack/", {}, 0}, {"Pack/config.json", Text("{}")}, {"Pack/x.wav", kClick}},
         "Pack/x.wav", "Pack/x.wav", "Pack/"},
        {"a root config beats a nested one",
         {{"old/config.json", Text("{}")}, {"config.json", Text("{}")}, {"k.wav", kClick}}, "k.wav",
         "k.wav", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PackArchive archive;
        PackArchiveFailure failure;
        ASSERT_TRUE(archive.Open(MakeZip(c.entries), failure)) << failure.detail;
        for (const PackArchiveEntry& entry : archive.Entries()) EXPECT_NE(entry.name.back(), '/');
        Bytes bytes;
        ASSERT_TRUE(archive.Read(c.read, 1 << 20, bytes, failure)) << failure.detail;
        EXPECT_EQ(bytes, kClick);
        std::string folder = "unset";
        ASSERT_TRUE(archive.FindConfigFolder(folder, failure));
        EXPECT_EQ(folder, c.configFolder);
    }
}

TEST(PackArchive, ReadsAnArchiveOfAnotherWriter) {
    PackArchive archive;
    PackArchiveFailure failure;
    ASSERT_TRUE(archive.Open(Bytes(std::begin(kpack_zip), std::end(kpack_zip)), failure)) << failure.detail;
    EXPECT_EQ(archive.Entries().size(), 3u);
    std::string folder;
    ASSERT_TRUE(archive.FindConfigFolder(folder, failure));
    EXPECT_EQ(folder, "My Pack/");
    Bytes stored, deflated;
    ASSERT_TRUE(archive.Read("My Pack/caps lock.wav", 1 << 20, stored, failure)) << failure.detail;
    ASSERT_TRUE(archive.Read("My Pack/[.wav", 1 << 20, deflated, failure)) << failure.detail;
    EXPECT_EQ(stored.size(), 1024u);
    EXPECT_EQ(stored[255], 255);
    EXPECT_EQ(deflated, Bytes(5000, 0));
}

TEST(PackArchive, RefusesHostileArchivesWhenOpened) {
    PackArchiveLimits small;
    small.archiveBytes = 4096;
    small.entries = 2;
    small.entryBytes = 1000;
    small.totalBytes = 1500;
    const Bytes silence(1 << 20, 0);  // deflates about a thousandfold
    TestEntry encrypted{"e.wav", kClick};
    encrypted.flags = 1;
    TestEntry bzip{"b.wav", kClick, 12};
    TestEntry claimsHuge{"huge.wav", silence};
    claimsHuge.claimedSize = 40u << 20;  // under the entry limit, far over any ratio
    TestEntry storedLies{"lie.wav", kClick, 0};
    storedLies.claimedSize = 3;
    struct Case {
        const char* what;
        Bytes archive;
        PackArchiveLimits limits;
        PackArchiveError code;
        std::string detail;
    };
    const Case cases[] = {
        {"parent folder", MakeZip({{"../evil.wav", kClick}}), {}, PackArchiveError::UnsafeName, "../evil.wav"},
        {"parent inside", MakeZip({{"a/b/../../../x.wav", kClick}}), {}, PackArchiveError::UnsafeName,
         "a/b/../../../x.wav"},
        {"parent with backslashes", MakeZip({{"a\\..\\..\\x.wav", kClick}}), {}, PackArchiveError::UnsafeName,
         "a/../../x.wav"},
        {"absolute", MakeZip({{"/etc/x.wav", kClick}}), {}, PackArchiveError::UnsafeName, "/etc/x.wav"},
        {"drive letter", MakeZip({{"C:/x.wav", kClick}}), {}, PackArchiveError::UnsafeName, "C:/x.wav"},
        {"control character", MakeZip({{std::string("a\0b.wav", 7), kClick}}), {},
         PackArchiveError::UnsafeName, std::string("a\0b.wav", 7)},
        {"encrypted", MakeZip({encrypted}), {}, PackArchiveError::Unsupported, "e.wav"},
        {"bzip2", MakeZip({bzip}), {}, PackArchiveError::Unsupported, "b.wav"},
        {"not a zip", Text("PK but nothing more, and no end record at all....."), {}, PackArchiveError::NotZip, ""},
        {"empty", {}, {}, PackArchiveError::NotZip, ""},
        {"cut in the middle", [] {
             Bytes zip = MakeZip({{"a.wav", kClick}, {"b.wav", kClick}});
             zip.erase(zip.begin() + 20, zip.begin() + 60);
             return zip;
         }(), {}, PackArchiveError::Truncated, "central directory"},
        {"more entries claimed than held", MakeZip({{"a.wav", kClick}}, 2), {}, PackArchiveError::Truncated,
         "central directory"},
        {"zip64 marker", MakeZip({{"a.wav", kClick}}, 0xFFFF), {}, PackArchiveError::Unsupported, "zip64"},
        {"archive over its limit", MakeZip({{"a.wav", Bytes(5000, 7), 0}}), small, PackArchiveError::TooLarge,
         "5108 bytes"},
        {"too many entries", MakeZip({{"a", kClick}, {"b", kClick}, {"c", kClick}}), small,
         PackArchiveError::TooManyEntries, "3 entries"},
        {"one entry over its limit", MakeZip({{"a.wav", Bytes(1001, 0)}}), small, PackArchiveError::EntryTooLarge,
         "a.wav"},
        {"total over its limit", MakeZip({{"a.wav", Bytes(800, 0)}, {"b.wav", Bytes(800, 0)}}), small,
         PackArchiveError::TotalTooLarge, "b.wav"},
        {"bomb claiming a size no deflate reaches", MakeZip({claimsHuge}), {}, PackArchiveError::TotalTooLarge,
         "huge.wav"},
        {"stored entry whose sizes disagree", MakeZip({storedLies}), {}, PackArchiveError::CorruptData, "lie.wav"},
        {"one name twice", MakeZip({{"a.wav", kClick}, {"b.wav", kClick}, {"a.wav", Bytes(9, 0)}}), {},
         PackArchiveError::CorruptData, "a.wav"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PackArchive archive(c.limits);
        PackArchiveFailure failure;
        EXPECT_FALSE(archive.Open(c.archive, failure));
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.detail, c.detail);
        EXPECT_TRUE(archive.Entries().empty());
    }
}

TEST(PackArchive, RefusesEntriesWhoseDataDisagreesWhenRead) {
    const Bytes silence(1 << 20, 0);
    TestEntry understated{"bomb.wav", silence};
    understated.claimedSize = 1000;  // inflating must stop here, not run on through the megabyte
    TestEntry badCrc{"crc.wav", kClick};
    badCrc.claimedCrc = 1234;
    TestEntry overstated{"short.wav", kClick};
    overstated.claimedSize = int64_t(kClick.size()) + 1;
    struct Case {
        TestEntry entry;
        size_t maxBytes;
        PackArchiveError code;
    };
    const Case cases[] = {
        {understated, 1 << 21, PackArchiveError::CorruptData},
        {badCrc, 1000, PackArchiveError::CorruptData},
        {overstated, 1000, PackArchiveError::CorruptData},
        {{"big.wav", silence}, 1 << 19, PackArchiveError::EntryTooLarge},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry.name);
        PackArchive archive;
        PackArchiveFailure failure;
        ASSERT_TRUE(archive.Open(MakeZip({c.entry}), failure)) << failure.detail;
        Bytes bytes;
        EXPECT_FALSE(archive.Read(c.entry.name, c.maxBytes, bytes, failure));
        EXPECT_EQ(failure.code, c.code);
        EXPECT_EQ(failure.detail, c.entry.name);
        EXPECT_TRUE(bytes.empty());
    }
}

TEST(PackArchive, CountsEveryReadAgainstTheTotal) {
    PackArchiveLimits limits;
    limits.totalBytes = 2500;
    PackArchive archive(limits);
    PackArchiveFailure failure;
    ASSERT_TRUE(archive.Open(MakeZip({{"a.wav", Bytes(1000, 1)}}), failure));
    Bytes bytes;
    EXPECT_TRUE(archive.Read("a.wav", 1000, bytes, failure));
    EXPECT_TRUE(archive.Read("a.wav", 1000, bytes, failure));
    EXPECT_FALSE(archive.Read("a.wav", 1000, bytes, failure));
    EXPECT_EQ(failure.code, PackArchiveError::TotalTooLarge);
}

TEST(PackArchive, FindsNoConfigWhereTheTopIsUnclear) {
    struct Case {
        std::vector<TestEntry> entries;
        PackArchiveError code;
    };
    const Case cases[] = {
        {{{"a/config.json", Text("{}")}, {"b/config.json", Text("{}")}}, PackArchiveError::AmbiguousConfig},
        {{{"a/b/config.json", Text("{}")}}, PackArchiveError::NoConfig},
        {{{"config.json.bak", Text("{}")}, {"a/myconfig.json", Text("{}")}}, PackArchiveError::NoConfig},
    };
    for (const Case& c : cases) {
        PackArchive archive;
        PackArchiveFailure failure;
        ASSERT_TRUE(archive.Open(MakeZip(c.entries), failure));
        std::string folder;
        EXPECT_FALSE(archive.FindConfigFolder(folder, failure));
        EXPECT_EQ(failure.code, c.code) << c.entries[0].name;
    }
}

TEST(PackArchive, NamesTwoEntriesThatDifferOnlyInCaseAsMissing) {
    PackArchive archive;
    PackArchiveFailure failure;
    ASSERT_TRUE(archive.Open(MakeZip({{"A.wav", kClick}, {"a.WAV", kClick}}), failure));
    Bytes bytes;
    EXPECT_TRUE(archive.Read("a.WAV", 100, bytes, failure));
    EXPECT_FALSE(archive.Read("a.wav", 100, bytes, failure));
    EXPECT_EQ(failure.code, PackArchiveError::NoEntry);
}

}  // namespace
