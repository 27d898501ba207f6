#include "schemes/PackImport.h"

#include "schemes/SchemeFile.h"
#include "tests/TestFiles.h"
#include "tests/TestWav.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool NoLeadBytes(unsigned char) { return false; }

using PackFiles = std::map<std::string, std::string>;

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

// One second of 16-bit mono noise at 22,050 Hz.
const std::string kWav = Text(MakePlayableTestWav(TestWavFormat{}, TestSamples(44100, 7)));
const std::string kOgg = ReadWholeFile("../audio/testdata/tone_mono22k.ogg");

// A .zip of stored entries, as the simplest writers make it.
std::string StoredZip(const PackFiles& files) {
    std::string out, directory;
    const auto put16 = [](std::string& s, uint32_t v) { s += char(v); s += char(v >> 8); };
    const auto put32 = [&](std::string& s, uint32_t v) { put16(s, v & 0xFFFF); put16(s, v >> 16); };
    for (const auto& [name, data] : files) {
        const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(data.data()), uInt(data.size()));
        const uint32_t offset = uint32_t(out.size());
        put32(out, 0x04034b50); put16(out, 20); put16(out, 0); put16(out, 0); put32(out, 0);
        put32(out, crc); put32(out, uint32_t(data.size())); put32(out, uint32_t(data.size()));
        put16(out, uint32_t(name.size())); put16(out, 0);
        out += name + data;
        put32(directory, 0x02014b50); put16(directory, 20); put16(directory, 20);
        put16(directory, 0); put16(directory, 0); put32(directory, 0); put32(directory, crc);
        put32(directory, uint32_t(data.size())); put32(directory, uint32_t(data.size()));
        put16(directory, uint32_t(name.size())); put16(directory, 0); put16(directory, 0);
        put16(directory, 0); put16(directory, 0); put32(directory, 0); put32(directory, offset);
        directory += name;
    }
    const uint32_t directoryOffset = uint32_t(out.size());
    out += directory;
    put32(out, 0x06054b50); put16(out, 0); put16(out, 0); put16(out, uint32_t(files.size()));
    put16(out, uint32_t(files.size())); put32(out, uint32_t(directory.size()));
    put32(out, directoryOffset); put16(out, 0);
    return out;
}

class PackImportTest : public testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("tapvox-import-" +
                 std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::error_code ignored;
        fs::remove_all(root_, ignored);
        fs::create_directories(root_ / "Schemes");
        ASSERT_FALSE(kOgg.empty()) << "the Ogg test file is missing";
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(root_, ignored);
    }

    // The pack's files in a folder of their own, or in a .zip there; the path to import.
    std::string WritePack(const PackFiles& files, bool zipped) {
        const fs::path folder = root_ / "pack";
        std::error_code ignored;
        fs::remove_all(folder, ignored);
        fs::create_directories(folder);
        if (zipped) {
            WriteWholeFile((folder / "pack.zip").string(), StoredZip(files));
            return (folder / "pack.zip").string();
        }
        for (const auto& [name, data] : files) {
            fs::create_directories((folder / name).parent_path());
            WriteWholeFile((folder / name).string(), data);
        }
        return (folder / "config.json").string();
    }

    PackImportResult Import(const std::string& packPath) {
        PackImportTools tools;
        tools.mp3 = [](const uint8_t*, size_t, size_t, DecodedAudio&) { return false; };
        tools.isLeadByte = NoLeadBytes;
        tools.nameToAnsi = [](const std::string& name) { return name; };
        return ImportPack(packPath, (root_ / "Schemes" / "").string(), tools);
    }

    // Every entry under Schemes, hidden ones too, as sorted relative paths.
    std::vector<std::string> SchemeEntries() const {
        std::vector<std::string> entries;
        for (const auto& entry : fs::recursive_directory_iterator(root_ / "Schemes"))
            entries.push_back(fs::relative(entry.path(), root_ / "Schemes").generic_string());
        std::sort(entries.begin(), entries.end());
        return entries;
    }

    std::string SchemeFile(const std::string& scheme, const std::string& file) const {
        return ReadWholeFile((root_ / "Schemes" / scheme / file).string());
    }

    fs::path root_;
};

struct FormCase {
    const char* what;
    PackFiles files;
    bool zipped;
    std::string scheme;
    std::string schemeText;
    std::vector<std::string> wavs;
    size_t skippedKeys;
};

const FormCase kForms[] = {
    {"version 1, one file sliced; a slice shared, named after its lowest key; a code unknown",
     {{"config.json",
       R"({"id":"x","name":"Cherry: Blue?","key_define_type":"single","includes_numpad":false,
           "sound":"all sounds.wav","defines":{"30":[0,50],"30-up":[100,40],"57":[0,50],
           "3675":[200,30],"41":[300,30]}})"},
      {"all sounds.wav", kWav}},
     false, "Cherry_ Blue_", "A=SPACE.wav\r\nSPACE=SPACE.wav\r\nWIN=WIN.wav\r\nA.UP=A-up.wav\r\n",
     {"A-up.wav", "SPACE.wav", "WIN.wav"}, 1},
    {"version 1, a file per key, names with blanks and brackets, Ogg and WAV",
     {{"config.json",
       R"({"name":"Multi","key_define_type":"multi","sound":"","defines":{
           "30":"caps lock.wav","28":"sub/tone.ogg","14":null,"28-up":"[.wav"}})"},
      {"caps lock.wav", kWav}, {"sub/tone.ogg", kOgg}, {"[.wav", kWav}},
     false, "Multi", "A=A.wav\r\nENTER=ENTER.wav\r\nENTER.UP=ENTER-up.wav\r\n",
     {"A.wav", "ENTER-up.wav", "ENTER.wav"}, 0},
    {"MechvibesDX in a .zip, in a top folder: press and release from one timing",
     {{"DX/config.json",
       R"({"config_version":"2","name":"DX","definition_method":"single","audio_file":"s.ogg",
           "definitions":{"KeyA":{"timing":[[0,100],[100,180]]},"Space":{"timing":[[200,300]]}}})"},
      {"DX/s.ogg", kOgg}},
     true, "DX", "A=A.wav\r\nSPACE=SPACE.wav\r\nA.UP=A-up.wav\r\n",
     {"A-up.wav", "A.wav", "SPACE.wav"}, 0},
};

TEST_F(PackImportTest, EachFormBecomesAScheme) {
    for (const FormCase& c : kForms) {
        const PackImportResult result = Import(WritePack(c.files, c.zipped));
        ASSERT_EQ(result.error, PackImportError::None) << c.what << ": " << result.file << ": "
                                                       << result.detail;
        EXPECT_EQ(result.schemeName, c.scheme) << c.what;
        EXPECT_EQ(result.skippedKeys, c.skippedKeys) << c.what;
        EXPECT_EQ(SchemeFile(c.scheme, "Scheme.txt"), c.schemeText) << c.what;
        std::vector<std::string> expected = {c.scheme};
        for (const std::string& wav : c.wavs) expected.push_back(c.scheme + "/" + wav);
        expected.push_back(c.scheme + "/Scheme.txt");
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(SchemeEntries(), expected) << c.what;
        std::error_code ignored;
        fs::remove_all(root_ / "Schemes" / c.scheme, ignored);
    }
}

// The WAV of a slice holds that slice: 50 ms at 22,050 Hz is 1,102 or 1,103 frames.
TEST_F(PackImportTest, SlicesAreWrittenAtThePacksRate) {
    const PackImportResult result = Import(WritePack(
        {{"config.json", R"({"name":"P","key_define_type":"single","sound":"s.wav",
                             "defines":{"30":[500,50]}})"},
         {"s.wav", kWav}},
        false));
    ASSERT_EQ(result.error, PackImportError::None) << result.detail;
    const std::string wav = SchemeFile("P", "A.wav");
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4), "RIFF");
    const auto u32 = [&wav](size_t at) {
        return uint32_t(uint8_t(wav[at])) | uint32_t(uint8_t(wav[at + 1])) << 8 |
               uint32_t(uint8_t(wav[at + 2])) << 16 | uint32_t(uint8_t(wav[at + 3])) << 24;
    };
    EXPECT_EQ(u32(24), 22050u);
    EXPECT_GE(wav.size() - 44, 2 * 1102u);
    EXPECT_LE(wav.size() - 44, 2 * 1103u);
}

TEST_F(PackImportTest, TakenNamesGetANumber) {
    const PackFiles pack = {
        {"config.json", R"({"name":"Same","key_define_type":"multi","defines":{"30":"a.wav"}})"},
        {"a.wav", kWav}};
    EXPECT_EQ(Import(WritePack(pack, false)).schemeName, "Same");
    EXPECT_EQ(Import(WritePack(pack, false)).schemeName, "Same 2");
    EXPECT_EQ(Import(WritePack(pack, true)).schemeName, "Same 3");
}

// Version 2: a key without an entry falls back to "sound" and "soundup"; a range gives the
// letters more than one sound, and each sound is written once.
TEST_F(PackImportTest, VersionTwoFallsBackAndSpreadsARange) {
    const PackImportResult result = Import(WritePack(
        {{"config.json", R"({"version":2,"name":"Ranges","key_define_type":"multi",
                             "sound":"press{0-1}.wav","soundup":"up.wav","defines":{"28":"e.wav"}})"},
         {"press0.wav", kWav}, {"press1.wav", kWav}, {"up.wav", kWav}, {"e.wav", kWav}},
        true));
    ASSERT_EQ(result.error, PackImportError::None) << result.file << ": " << result.detail;
    KeySoundTable presses, releases;
    const std::string text = SchemeFile("Ranges", "Scheme.txt");
    ApplySchemeText(text.data(), text.size(), presses, &releases);
    std::set<std::string> letterSounds, letterReleases;
    for (unsigned code = 'A'; code <= 'Z'; ++code) {
        letterSounds.insert(presses[code]);
        letterReleases.insert(releases[code]);
    }
    EXPECT_EQ(letterSounds.size(), 2u);
    EXPECT_EQ(letterReleases.size(), 1u);
    EXPECT_EQ(presses[13], "ENTER.wav");
    EXPECT_EQ(releases[13], *letterReleases.begin());
    // Two range files, the release and Enter's own: four WAV files and the scheme file.
    EXPECT_EQ(SchemeEntries().size(), 1u + 4u + 1u);
}

struct HostileCase {
    const char* what;
    PackFiles files;
    bool zipped;
    PackImportError error;
    std::string fileEnd;  // how the file the error names ends
};

const std::string kSingle = R"({"name":"H","key_define_type":"single","sound":"s.wav","defines":)";

const HostileCase kHostile[] = {
    {"malformed JSON", {{"config.json", "{\"name\":"}}, false, PackImportError::BadConfig,
     "config.json"},
    {"wrong types", {{"config.json", kSingle + R"({"30":"x"}})"}, {"s.wav", kWav}}, false,
     PackImportError::BadConfig, "config.json"},
    {"a config of 2 MB", {{"config.json", kSingle + "{}, \"x\":\"" + std::string(2 << 20, 'x') + "\"}"}},
     false, PackImportError::TooLarge, "config.json"},
    {"a negative slice", {{"config.json", kSingle + R"({"30":[-5,50]}})"}, {"s.wav", kWav}},
     false, PackImportError::BadSlice, "config.json"},
    {"a slice past the end", {{"config.json", kSingle + R"({"30":[5000,50]}})"}, {"s.wav", kWav}},
     false, PackImportError::BadSlice, "s.wav"},
    {"a slice of an hour", {{"config.json", kSingle + R"({"30":[0,3600000]}})"}, {"s.wav", kWav}},
     false, PackImportError::BadSlice, "config.json"},
    {"the audio missing", {{"config.json", kSingle + R"({"30":[0,50]}})"}}, false,
     PackImportError::Unreadable, "s.wav"},
    {"an audio file of 33 MB",
     {{"config.json", kSingle + R"({"30":[0,50]}})"}, {"s.wav", std::string(33 << 20, 'x')}},
     false, PackImportError::TooLarge, "s.wav"},
    {"a corrupt Ogg", {{"config.json", kSingle + R"({"30":[0,50]}})"},
                       {"s.wav", "OggS" + std::string(5000, '\x01')}},
     false, PackImportError::AudioCorrupt, "s.wav"},
    {"an MP3 the platform cannot decode",
     {{"config.json", kSingle + R"({"30":[0,50]}})"},
      {"s.wav", std::string("\xFF\xFB\x90\x64", 4) + std::string(2000, '\0')}},
     false, PackImportError::AudioCorrupt, "s.wav"},
    {"a name with ..", {{"config.json", R"({"name":"H","key_define_type":"single",
                                            "sound":"../s.wav","defines":{"30":[0,50]}})"}},
     false, PackImportError::UnsafeName, "config.json"},
    {"an absolute name", {{"config.json", R"({"name":"H","key_define_type":"multi",
                                              "defines":{"30":"/etc/passwd"}})"}},
     false, PackImportError::UnsafeName, "config.json"},
    {"a drive letter", {{"config.json", R"({"name":"H","key_define_type":"multi",
                                            "defines":{"30":"C:x.wav"}})"}},
     false, PackImportError::UnsafeName, "config.json"},
    {"a zip entry with ../", {{"config.json", kSingle + R"({"30":[0,50]}})"}, {"../s.wav", kWav}},
     true, PackImportError::UnsafeName, "../s.wav"},
    {"a zip without config.json", {{"s.wav", kWav}}, true, PackImportError::NoConfig,
     "pack.zip: config.json"},
    {"no key Tapvox knows", {{"config.json", kSingle + R"({"41":[0,50]}})"}, {"s.wav", kWav}},
     false, PackImportError::NoSounds, "config.json"},
    {"the second audio file corrupt, after the first was written",
     {{"config.json", R"({"name":"H","key_define_type":"multi",
                          "defines":{"30":"a.wav","31":"b.wav"}})"},
      {"a.wav", kWav}, {"b.wav", "RIFF\x10\0\0\0WAVEjunk"}},
     false, PackImportError::AudioUnsupported, "b.wav"},
};

TEST_F(PackImportTest, HostilePacksAreRefusedAndLeaveNothing) {
    for (const HostileCase& c : kHostile) {
        const PackImportResult result = Import(WritePack(c.files, c.zipped));
        EXPECT_EQ(result.error, c.error) << c.what << ": " << result.file << ": " << result.detail;
        const bool namesFile = result.file.size() >= c.fileEnd.size() &&
                               result.file.compare(result.file.size() - c.fileEnd.size(),
                                                   c.fileEnd.size(), c.fileEnd) == 0;
        EXPECT_TRUE(namesFile) << c.what << ": " << result.file;
        EXPECT_FALSE(result.detail.empty()) << c.what;
        EXPECT_TRUE(SchemeEntries().empty()) << c.what;
    }
}

TEST_F(PackImportTest, AMissingPackOrSchemesFolderIsRefused) {
    EXPECT_EQ(Import((root_ / "nowhere" / "config.json").string()).error,
              PackImportError::Unreadable);
    PackImportTools tools;
    tools.isLeadByte = NoLeadBytes;
    tools.nameToAnsi = [](const std::string& name) { return name; };
    const std::string pack = WritePack(
        {{"config.json", kSingle + R"({"30":[0,50]}})"}, {"s.wav", kWav}}, false);
    EXPECT_EQ(ImportPack(pack, "", tools).error, PackImportError::WriteFailed);
    EXPECT_EQ(ImportPack(pack, (root_ / "missing" / "").string(), tools).error,
              PackImportError::WriteFailed);
}

}  // namespace
