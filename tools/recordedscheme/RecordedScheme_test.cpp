// The recorded scheme from recordings made up here: which key plays which file, and what the
// cutting and levelling leave of a recording.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <unistd.h>

#include "audio/WavePlayer.h"
#include "schemes/KeyNames.h"
#include "schemes/SchemeFile.h"
#include "tools/recordedscheme/RecordedKeys.h"
#include "tools/recordedscheme/RecordedScheme.h"
#include "tools/schemegen/Wav.h"

namespace fs = std::filesystem;

namespace recorded {
namespace {

constexpr uint32_t kRate = 44100;

TEST(RecordedKeys, RecordingsGiveTheKeysTheyStandFor)
{
    const struct {
        unsigned fileNumber;
        const char* key;  // nullptr: no named key
        uint8_t rank;
    } cases[] = {
        {0x01, "ESC", 0},      {0x0C, "UNDER", 0},   {0x0E, "BACK", 0},    {0x1E, "A", 0},
        {0x1C, "ENTER", 0},    {0x60, "ENTER", 1},   {0x2A, "SHIFT", 0},   {0x36, "SHIFT", 1},
        {0x1D, "CTRL", 0},     {0x61, "CTRL", 1},    {0x38, "ALT", 0},     {0x64, "ALT", 1},
        {0x37, "MUL", 0},      {0x62, "DIV", 0},     {0x52, "NUMPAD0", 0}, {0x45, "NUMLOCK", 0},
        {0x46, "SCROLL", 0},   {0x58, "F12", 0},     {0x63, "PRTSC", 0},   {0x77, "PAUSE", 0},
        {0x66, "HOME", 0},     {0x68, "PGUP", 0},    {0x6B, "END", 0},     {0x6D, "PGDN", 0},
        {0x6E, "INS", 0},      {0x6F, "DEL", 0},     {0x7D, "WIN", 0},     {0x7E, "WINR", 0},
        {0x7F, "APPS", 0},     {0x67, "UP", 0},      {0x69, "LEFT", 0},    {0x6A, "RIGHT", 0},
        {0x6C, "DOWN", 0},
        // Grave accent and backslash have no key name; 0x56 is the 102nd key, 0xB7 F13.
        {0x29, nullptr, 0},    {0x2B, nullptr, 0},   {0x56, nullptr, 0},   {0xB7, nullptr, 0},
        {0x00, nullptr, 0},    {0x5B, nullptr, 0},   {0x65, nullptr, 0},   {0x200, nullptr, 0},
    };
    for (const auto& c : cases) {
        const RecordedKey key = KeyOfRecording(c.fileNumber);
        if (!c.key) {
            EXPECT_EQ(key.keyName, nullptr) << std::hex << c.fileNumber;
            continue;
        }
        ASSERT_NE(key.keyName, nullptr) << std::hex << c.fileNumber;
        EXPECT_STREQ(key.keyName, c.key) << std::hex << c.fileNumber;
        EXPECT_EQ(key.rank, c.rank) << std::hex << c.fileNumber;
    }
}

// Every recording of a key that has a name in scheme files finds it: the key table leaves out
// none of the keys a recording can stand for.
TEST(RecordedKeys, EveryRecordedNamedKeyIsFound)
{
    const std::set<unsigned> unnamed = {
        0x29, 0x2B,  // grave accent and backslash
        0x54, 0x55,  // SysRq (Print Screen with Alt) and a code of no key
        0x56,        // the 102nd key, beside the left Shift
    };
    for (unsigned n = 1; n < 256; ++n)
        if (ScancodeOfRecording(n) != 0 && !unnamed.count(n)) {
            EXPECT_NE(KeyOfRecording(n).keyName, nullptr) << std::hex << n;
        }
}

TEST(RecordedKeys, RecordingNumbersBecomeScancodes)
{
    const struct {
        unsigned fileNumber;
        unsigned scancode;
    } cases[] = {
        {0x01, 0x01},   {0x1E, 0x1E},   {0x58, 0x58}, {0x61, 3613}, {0x63, 3639},
        {0x66, 3655},   {0x67, 57416},  {0x69, 57419}, {0x6A, 57421}, {0x6C, 57424},
        {0x6F, 3667},   {0x77, 0x0E45}, {0x7D, 3675},  {0x00, 0},     {0x5B, 0},
        {0x65, 0},      {0x200, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScancodeOfRecording(c.fileNumber), c.scancode) << std::hex << c.fileNumber;
}

fs::path FreshFolder(const char* tag)
{
    const fs::path path = fs::temp_directory_path() /
                          ("recordedscheme-test-" + std::to_string(::getpid()) + "-" + tag);
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

// A made-up recording: 20 ms of near silence, then a click of the given level ringing on for
// 300 ms, well past the longest sound kept.
schemegen::Samples Click(double level, double pitchHz)
{
    schemegen::Samples s(static_cast<size_t>(0.32 * kRate), 0.0);
    const size_t onset = static_cast<size_t>(0.020 * kRate);
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = (static_cast<double>(i) - onset) / kRate;
        s[i] = i < onset ? 0.0005 * ((i % 2) ? 1 : -1)
                         : level * std::exp(-t * 25) * std::sin(2 * schemegen::kPi * pitchHz * t);
    }
    return s;
}

void WriteRecording(const fs::path& folder, unsigned number, bool release, double level,
                    double pitchHz, uint16_t bits = 16)
{
    char name[16];
    std::snprintf(name, sizeof name, "%02x-%d.wav", number, release ? 1 : 0);
    const std::vector<uint8_t> bytes =
        schemegen::EncodeWav(Click(level, pitchHz), {kRate, bits, 1});
    std::ofstream(folder / name, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<double> Samples(const fs::path& path)
{
    WavePlayer::Wave wave(path.string().c_str());
    std::vector<double> out;
    const uint8_t* d = wave.PlayImageData();
    for (uint32_t i = wave.DataOffset(); wave.IsValid() && i + 1 < wave.DataEnd(); i += 2)
        out.push_back(static_cast<int16_t>(d[i] | d[i + 1] << 8) / 32768.0);
    return out;
}

double Db(double gain) { return 20 * std::log10(gain); }

class RecordedSchemeBuild : public testing::Test {
protected:
    void SetUp() override
    {
        recordings = FreshFolder("in");
        out = FreshFolder("out");
        licence = out / "GPL";
        std::ofstream(licence) << "THE LICENCE TEXT\n";
        WriteRecording(recordings, 0x2B, false, 0.5, 1800);  // generic
        WriteRecording(recordings, 0x2B, true, 0.3, 2500);
        WriteRecording(recordings, 0x1E, false, 0.9, 2000);  // A
        WriteRecording(recordings, 0x1E, true, 0.45, 3000);  // a release 6 dB below its press
        WriteRecording(recordings, 0x2A, false, 0.2, 900);   // left Shift
        WriteRecording(recordings, 0x36, false, 0.8, 700);   // right Shift, louder
        WriteRecording(recordings, 0x36, true, 0.8, 800);    // whose release must not be taken
        WriteRecording(recordings, 0x61, false, 0.5, 800);   // right Ctrl, with no left one
        WriteRecording(recordings, 0x3A, false, 0.4, 1200);  // Caps Lock
        WriteRecording(recordings, 0x3A, true, 0.4, 1300);
        WriteRecording(recordings, 0x67, false, 0.6, 1500);  // Up, numbered as Linux does
        WriteRecording(recordings, 0x67, true, 0.5, 1700);
        WriteRecording(recordings, 0x5B, false, 0.6, 1500);  // a number with no key
    }
    void TearDown() override
    {
        fs::remove_all(recordings);
        fs::remove_all(out);
    }
    fs::path Scheme() const { return out / kRecordedSchemeName; }

public:
    fs::path recordings, out, licence;
};

TEST_F(RecordedSchemeBuild, KeysPlayTheirOwnRecordingOrTheGenericOne)
{
    std::string error;
    ASSERT_TRUE(WriteRecordedScheme(recordings, licence, out, error)) << error;
    KeySoundTable presses, releases;
    ASSERT_TRUE(ReadSchemeFile(Scheme().string() + "/", presses, &releases));
    const struct {
        const char* key;
        const char* press;
        const char* release;
    } cases[] = {
        {"A", "a.wav", "a-up.wav"},
        {"B", "generic.wav", "generic-up.wav"},
        {"D5", "generic.wav", "generic-up.wav"},
        {"F24", "generic.wav", "generic-up.wav"},
        {"MUL", "generic.wav", "generic-up.wav"},
        {"SHIFT", "shift.wav", "generic-up.wav"},  // left wins; no release recorded
        {"CTRL", "ctrl.wav", "generic-up.wav"},    // the right one, the left unrecorded
        {"UP", "up.wav", "up-up.wav"},
        {"CAPSLOCK", "capslock.wav", ""},
        {"NUMLOCK", "capslock.wav", ""},
        {"SCROLL", "capslock.wav", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(presses[KeyCodeFromName(c.key)], c.press) << c.key;
        EXPECT_EQ(releases[KeyCodeFromName(c.key)], c.release) << c.key;
    }
    EXPECT_EQ(presses[220], "generic.wav") << "backslash, through the letters' group word";
    std::set<std::string> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(Scheme()))
        files.insert(entry.path().filename().string());
    EXPECT_EQ(files, (std::set<std::string>{"Scheme.txt", "COPYING.txt", "generic.wav",
                                            "generic-up.wav", "a.wav", "a-up.wav", "shift.wav",
                                            "ctrl.wav", "capslock.wav", "up.wav",
                                            "up-up.wav"}));
    std::ifstream in(Scheme() / kLicenceFileName, std::ios::binary);
    const std::string text(std::istreambuf_iterator<char>(in), {});
    EXPECT_NE(text.find("GNU General Public License, version 2"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 17), "THE LICENCE TEXT\n");
}

TEST_F(RecordedSchemeBuild, SoundsAreCutShortAndLevelledLikeTheGeneratedOnes)
{
    std::string error;
    ASSERT_TRUE(WriteRecordedScheme(recordings, licence, out, error)) << error;
    const std::vector<double> press = Samples(Scheme() / "a.wav");
    const std::vector<double> release = Samples(Scheme() / "a-up.wav");
    const std::vector<double> shift = Samples(Scheme() / "shift.wav");
    ASSERT_FALSE(press.empty());
    EXPECT_LE(press.size(), static_cast<size_t>(kLongestSoundSeconds * kRate));
    // The 20 ms of silence before the click are gone but for the pre-roll.
    size_t firstLoud = 0;
    while (firstLoud < press.size() && std::fabs(press[firstLoud]) < 0.02)
        ++firstLoud;
    EXPECT_LT(firstLoud, static_cast<size_t>(0.002 * kRate));
    EXPECT_LE(std::fabs(press.front()), 1 / 128.0);
    EXPECT_LE(std::fabs(press.back()), 1 / 128.0);
    const schemegen::Samples pressSound(press.begin(), press.end());
    const schemegen::Samples releaseSound(release.begin(), release.end());
    const schemegen::Samples shiftSound(shift.begin(), shift.end());
    EXPECT_NEAR(Db(schemegen::SoundingRms(pressSound, 1)), schemegen::kLetterLoudnessDb, 0.5);
    EXPECT_NEAR(Db(schemegen::SoundingRms(shiftSound, 1)),
                schemegen::kLetterLoudnessDb + schemegen::RoleLevelDb(schemegen::SoundRole::Modifier),
                0.5);
    // The release keeps its place below the press, as recorded.
    EXPECT_NEAR(Db(schemegen::SoundingRms(releaseSound, 1)) -
                    Db(schemegen::SoundingRms(pressSound, 1)),
                -6, 1.0);
    for (const schemegen::Samples* s : {&pressSound, &releaseSound, &shiftSound})
        EXPECT_LE(schemegen::PeakOf(*s), schemegen::kPeakCeiling + 1 / 32768.0);
}

TEST_F(RecordedSchemeBuild, RefusalsNameWhatIsWrong)
{
    const struct {
        const char* what;
        void (*spoil)(RecordedSchemeBuild&);
        const char* inError;
    } cases[] = {
        {"no generic press",
         [](RecordedSchemeBuild& t) { fs::remove(t.recordings / "2b-0.wav"); }, "2b"},
        {"no generic release",
         [](RecordedSchemeBuild& t) { fs::remove(t.recordings / "2b-1.wav"); }, "2b"},
        {"an 8-bit recording",
         [](RecordedSchemeBuild& t) { WriteRecording(t.recordings, 0x1E, true, 0.4, 900, 8); },
         "1e-1.wav: not 16-bit mono PCM"},
        {"a recording that is no WAV",
         [](RecordedSchemeBuild& t) { std::ofstream(t.recordings / "67-0.wav") << "text"; },
         "67-0.wav: not a WAV"},
        {"no licence", [](RecordedSchemeBuild& t) { fs::remove(t.licence); }, "licence"},
        {"no recordings at all", [](RecordedSchemeBuild& t) { fs::remove_all(t.recordings); },
         "2b"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUp();
        c.spoil(*this);
        std::string error;
        EXPECT_FALSE(WriteRecordedScheme(recordings, licence, out, error));
        EXPECT_NE(error.find(c.inError), std::string::npos) << error;
        EXPECT_FALSE(fs::exists(Scheme() / "Scheme.txt"));
    }
}

}  // namespace
}  // namespace recorded
