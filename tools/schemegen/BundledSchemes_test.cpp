// Generates every bundled scheme, the recorded one too, into a temporary folder and checks it
// the way the program will use it: through our scheme reader and our WAV loader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "audio/WavePlayer.h"
#include "schemes/MouseButtonNames.h"
#include "schemes/SchemeFile.h"
#include "tools/recordedscheme/RecordedScheme.h"
#include "tools/schemegen/Scheme.h"
#include "tools/schemegen/SchemeWriter.h"

namespace fs = std::filesystem;

namespace schemegen {
namespace {

std::vector<uint8_t> ReadBytes(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

fs::path FreshFolder(const char* tag)
{
    const fs::path path = fs::temp_directory_path() /
                          ("schemegen-test-" + std::to_string(::getpid()) + "-" + tag);
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

// One sound as the loader sees it, samples scaled to [-1, 1).
struct Sound {
    std::string file;
    size_t fileSize = 0;
    int channels = 0;
    int bits = 0;
    double rate = 0;
    std::vector<double> samples;

    double Seconds() const { return samples.size() / static_cast<double>(channels) / rate; }
};

bool LoadSound(const fs::path& path, Sound& sound)
{
    WavePlayer::Wave wave(path.string().c_str());
    if (!wave.IsValid() || wave.DataOffset() != 44 || wave.Format().chunk.size != 16)
        return false;
    sound.file = path.filename().string();
    sound.fileSize = wave.FileSize();
    sound.channels = wave.Format().nChannels;
    sound.bits = wave.Format().wBitsPerSample;
    sound.rate = wave.Format().nSamplesPerSec;
    const uint8_t* data = wave.PlayImageData() + wave.DataOffset();
    const size_t bytes = wave.FileSize() - wave.DataOffset();
    if (sound.bits == 8) {
        for (size_t i = 0; i < bytes; ++i)
            sound.samples.push_back((data[i] - 128) / 128.0);
    } else if (sound.bits == 16) {
        for (size_t i = 0; i + 1 < bytes; i += 2)
            sound.samples.push_back(static_cast<int16_t>(data[i] | data[i + 1] << 8) / 32768.0);
    } else {
        return false;
    }
    return sound.channels > 0 && sound.rate > 0;
}

double Peak(const Sound& s)
{
    double peak = 0;
    for (double v : s.samples)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

// Loudness as the bundle defines it: RMS over the sounding part, from the first to the last
// frame that reaches a tenth of the peak.
double SoundingRms(const Sound& s)
{
    const double threshold = Peak(s) / 10;
    const size_t frames = s.samples.size() / s.channels;
    size_t first = frames, last = 0;
    for (size_t f = 0; f < frames; ++f)
        for (int c = 0; c < s.channels; ++c)
            if (threshold > 0 && std::fabs(s.samples[f * s.channels + c]) >= threshold) {
                first = std::min(first, f);
                last = f;
            }
    if (first > last)
        return 0;
    double sum = 0;
    for (size_t i = first * s.channels; i < (last + 1) * s.channels; ++i)
        sum += s.samples[i] * s.samples[i];
    return std::sqrt(sum / ((last + 1 - first) * s.channels));
}

double Db(double gain) { return 20 * std::log10(gain); }

// What staging writes into Schemes\: the generated schemes, then the recorded one.
bool WriteShippedSchemes(const fs::path& folder, std::string& error)
{
    return WriteAllSchemes(folder, error) &&
           recorded::WriteRecordedScheme(TAPVOX_KEY_RECORDINGS, TAPVOX_KEY_RECORDINGS_LICENCE,
                                         folder, error);
}

// Every scheme folder that ships, in catalogue order and then the recorded one.
std::vector<std::string> ShippedNames()
{
    std::vector<std::string> names;
    for (const SchemeDesign& design : AllSchemes())
        names.push_back(design.name);
    names.push_back(recorded::kRecordedSchemeName);
    return names;
}

// A scheme as our reader sees it, with every sound it names loaded.
struct LoadedScheme {
    std::string name;
    KeySoundTable table;
    KeySoundTable releases;
    std::map<std::string, Sound> sounds;  // by file name, releases' too

    const Sound& SoundOf(const char* key) const { return sounds.at(table[KeyCodeFromName(key)]); }

    double LetterLoudness() const
    {
        double sum = 0;
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            sum += SoundingRms(SoundOf(std::string(1, letter).c_str()));
        return sum / 26;
    }
};

class BundledSchemes : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder = new fs::path(FreshFolder("bundle"));
        std::string error;
        ASSERT_TRUE(WriteShippedSchemes(*folder, error)) << error;
        for (const std::string& name : ShippedNames()) {
            LoadedScheme scheme;
            scheme.name = name;
            ASSERT_TRUE(ReadSchemeFile((*folder / name).string() + "/", scheme.table,
                                       &scheme.releases))
                << name;
            std::vector<std::string> named(scheme.table.begin(), scheme.table.end());
            named.insert(named.end(), scheme.releases.begin(), scheme.releases.end());
            for (const std::string& file : named) {
                if (file.empty() || scheme.sounds.count(file))
                    continue;
                Sound sound;
                ASSERT_TRUE(LoadSound(*folder / name / file, sound))
                    << name << "/" << file << " does not load as a plain PCM WAV";
                scheme.sounds.emplace(file, sound);
            }
            schemes.push_back(scheme);
        }
    }

    static void TearDownTestSuite()
    {
        fs::remove_all(*folder);
        delete folder;
        schemes.clear();
    }

    static fs::path* folder;
    static std::vector<LoadedScheme> schemes;
};

fs::path* BundledSchemes::folder = nullptr;
std::vector<LoadedScheme> BundledSchemes::schemes;

TEST_F(BundledSchemes, NamesFitTheMenuAndAFolder)
{
    ASSERT_GE(ShippedNames().size(), 20u) << "a first run activates the 20th scheme";
    EXPECT_LE(ShippedNames().size(), 25u) << "the menu offers 25 schemes at most";
    std::set<std::string> upperNames;
    for (const std::string& name : ShippedNames()) {
        EXPECT_GE(name.size(), 1u);
        EXPECT_LE(name.size(), 24u) << name;
        EXPECT_NE(name.front(), ' ') << name;
        EXPECT_NE(name.back(), ' ') << name;
        EXPECT_NE(name.front(), '.') << name;
        for (char ch : name)
            EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(ch)) || ch == ' ' || ch == '-')
                << "'" << ch << "' in " << name;
        std::string upper = name;
        for (char& ch : upper)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        EXPECT_TRUE(upperNames.insert(upper).second) << name << " clashes on Windows";
        EXPECT_TRUE(fs::is_directory(*folder / name)) << name;
    }
}

TEST_F(BundledSchemes, FirstRunSchemeIsTheTwentiethInWindowsListingOrder)
{
    // NTFS lists a folder by upper-cased name; the catalogue is written in that order too.
    std::vector<std::string> upper;
    for (const SchemeDesign& design : AllSchemes()) {
        std::string u = design.name;
        for (char& ch : u)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        upper.push_back(u);
    }
    EXPECT_TRUE(std::is_sorted(upper.begin(), upper.end()));
    // A listing sorted by plain byte order (case-sensitive) agrees, and so does one in
    // creation order, since the generator writes the folders in catalogue order.
    std::vector<std::string> asWritten;
    for (const SchemeDesign& design : AllSchemes())
        asWritten.push_back(design.name);
    EXPECT_TRUE(std::is_sorted(asWritten.begin(), asWritten.end()));
    // The recorded scheme, written last, takes its place among them in a listing by name.
    std::vector<std::string> listed;
    for (const std::string& name : ShippedNames()) {
        std::string u = name;
        for (char& ch : u)
            ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
        listed.push_back(u);
    }
    std::sort(listed.begin(), listed.end());
    std::string firstRun = kFirstRunSchemeName;
    for (char& ch : firstRun)
        ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    EXPECT_EQ(listed[kFirstRunSchemeIndex], firstRun);
}

TEST_F(BundledSchemes, EveryKeyHasASound)
{
    const char* handWrittenOnly[] = {"LEFT", "RIGHT", "UP", "DOWN", "CAPSLOCK", "NUMLOCK",
                                     "SCROLL"};
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        for (const char* key : EditableKeyNames)
            EXPECT_FALSE(scheme.table[KeyCodeFromName(key)].empty()) << key;
        for (int f = 1; f <= 24; ++f)
            EXPECT_FALSE(scheme.table[KeyCodeFromName(("F" + std::to_string(f)).c_str())].empty())
                << "F" << f;
        for (const char* key : handWrittenOnly)
            EXPECT_FALSE(scheme.table[KeyCodeFromName(key)].empty()) << key;
    }
}

TEST_F(BundledSchemes, BothFileFormsAndBothListingStylesShip)
{
    int iniOnly = 0;
    int groupWords = 0;
    int everyKey = 0;
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        const fs::path dir = *folder / scheme.name;
        const bool txt = fs::exists(dir / "Scheme.txt");
        EXPECT_NE(txt, fs::exists(dir / "Scheme.ini")) << "exactly one scheme file per folder";
        iniOnly += txt ? 0 : 1;
        const std::vector<uint8_t> text = ReadBytes(dir / (txt ? "Scheme.txt" : "Scheme.ini"));
        const std::string s(text.begin(), text.end());
        if (s.find("CHARS=") != std::string::npos) {
            ++groupWords;
            // The group reaches keys no single name can: grave accent and backslash.
            EXPECT_FALSE(scheme.table[192].empty());
            EXPECT_FALSE(scheme.table[220].empty());
            EXPECT_NE(s.find("DIGITS="), std::string::npos);
            EXPECT_NE(s.find("FUNCS="), std::string::npos);
        } else {
            ++everyKey;
            EXPECT_NE(s.find("\r\nF24="), std::string::npos);
        }
    }
    EXPECT_EQ(iniOnly, 1);
    EXPECT_GE(groupWords, 3);
    EXPECT_GE(everyKey, 3);
}

TEST_F(BundledSchemes, FolderHoldsExactlyTheNamedSounds)
{
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        std::set<std::string> onDisk;
        for (const fs::directory_entry& entry : fs::directory_iterator(*folder / scheme.name)) {
            EXPECT_TRUE(entry.is_regular_file()) << entry.path();
            const std::string file = entry.path().filename().string();
            const bool licence = scheme.name == recorded::kRecordedSchemeName &&
                                 file == recorded::kLicenceFileName;
            if (file != "Scheme.txt" && file != "Scheme.ini" && !licence)
                onDisk.insert(file);
        }
        std::set<std::string> named;
        for (const auto& [file, sound] : scheme.sounds) {
            named.insert(file);
            EXPECT_EQ(file.find_first_of(" \t"), std::string::npos) << file;
            EXPECT_LE(file.size(), 24u) << file;
        }
        EXPECT_EQ(onDisk, named);
    }
}

TEST_F(BundledSchemes, SoundsAreShortSmallClickFreeAndUnclipped)
{
    for (const LoadedScheme& scheme : schemes) {
        int withinKeyRange = 0;
        for (const auto& [file, sound] : scheme.sounds) {
            SCOPED_TRACE(scheme.name + "/" + file);
            EXPECT_LT(sound.fileSize, 16384u);
            EXPECT_GE(sound.Seconds(), 0.020);
            EXPECT_LE(sound.Seconds(), 0.400);
            withinKeyRange += sound.Seconds() <= 0.150 + 1 / sound.rate ? 1 : 0;
            EXPECT_LT(Peak(sound), 0.95);
            // One step of 8-bit resolution is the most an end may sit off centre.
            for (int c = 0; c < sound.channels; ++c) {
                EXPECT_LE(std::fabs(sound.samples[c]), 1 / 128.0);
                EXPECT_LE(std::fabs(sound.samples[sound.samples.size() - 1 - c]), 1 / 128.0);
            }
        }
        EXPECT_GE(withinKeyRange * 4, static_cast<int>(scheme.sounds.size()) * 3)
            << scheme.name << ": most sounds last at most 150 ms";
        for (char letter = 'A'; letter <= 'Z'; ++letter) {
            const Sound& s = scheme.SoundOf(std::string(1, letter).c_str());
            EXPECT_LE(s.Seconds(), 0.150 + 1 / s.rate) << scheme.name << " " << letter;
        }
    }
}

// Keyboards and the typewriter sound as their keys come back up, every key but the locks, each
// synthesised release shorter and softer than its press (a recorded one is as recorded); the
// other instruments have no release sounds.
TEST_F(BundledSchemes, KeyboardsSoundTheirReleasesShorterAndSofter)
{
    const std::set<std::string> withReleases = {"Clicky Mechanical", "Laptop Keys", "Membrane",
                                                "Soft Mechanical",   "Stereo Mechanical",
                                                "Typewriter",        "Buckling Spring"};
    const std::set<unsigned> locks = {KeyCodeFromName("CAPSLOCK"), KeyCodeFromName("NUMLOCK"),
                                      KeyCodeFromName("SCROLL")};
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        if (withReleases.count(scheme.name) == 0) {
            EXPECT_EQ(scheme.releases, KeySoundTable());
            continue;
        }
        for (unsigned code = 1; code < scheme.table.size(); ++code) {
            // Mouse buttons are no keys: their press is the click, they have no release.
            const bool button = MouseButtonNameOfCode(code) != nullptr;
            if (scheme.table[code].empty() || locks.count(code) != 0 || button) {
                EXPECT_EQ(scheme.releases[code], "") << "key " << code;
                continue;
            }
            // Every release sound named was loaded as a plain PCM WAV when the suite began.
            ASSERT_NE(scheme.releases[code], "") << "key " << code;
            if (scheme.name == recorded::kRecordedSchemeName)
                continue;
            const Sound& release = scheme.sounds.at(scheme.releases[code]);
            const Sound& press = scheme.sounds.at(scheme.table[code]);
            EXPECT_LT(release.Seconds(), press.Seconds()) << "key " << code;
            EXPECT_LE(Db(SoundingRms(release)), Db(SoundingRms(press)) - 3) << "key " << code;
        }
    }
}

// A few schemes give the left, right and middle buttons sounds of their instrument, each its
// own, short and quieter than the letters; the others name no button, so they cost no mouse
// hook.
TEST_F(BundledSchemes, AFewSchemesClickTheirMouseButtons)
{
    const std::set<std::string> withClicks = {"Clicky Mechanical", "Drum Kit", "Laptop Keys",
                                              "Wood Blocks"};
    const std::set<unsigned> clicking = {MouseButtonCodeFromName("LBUTTON"),
                                         MouseButtonCodeFromName("RBUTTON"),
                                         MouseButtonCodeFromName("MBUTTON")};
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        const bool clicks = withClicks.count(scheme.name) != 0;
        const double letters = Db(scheme.LetterLoudness());
        std::set<std::vector<double>> buttonSounds;
        for (unsigned code : kMouseButtonCodes) {
            EXPECT_EQ(scheme.releases[code], "") << "button " << code;
            if (!clicks || clicking.count(code) == 0) {
                EXPECT_EQ(scheme.table[code], "") << "button " << code;
                continue;
            }
            ASSERT_NE(scheme.table[code], "") << "button " << code;
            const Sound& sound = scheme.sounds.at(scheme.table[code]);
            EXPECT_LE(sound.Seconds(), 0.080) << "button " << code;
            EXPECT_LE(Db(SoundingRms(sound)), letters - 2) << "button " << code;
            buttonSounds.insert(sound.samples);
        }
        EXPECT_EQ(buttonSounds.size(), clicks ? 3u : 0u) << "each button its own sound";
    }
}

TEST_F(BundledSchemes, LettersVaryWithinAScheme)
{
    for (const LoadedScheme& scheme : schemes) {
        std::map<std::string, int> uses;
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            ++uses[scheme.table[KeyCodeFromName(std::string(1, letter).c_str())]];
        EXPECT_GE(uses.size(), 4u) << scheme.name;
        for (const auto& [file, count] : uses)
            EXPECT_LE(count, 9) << scheme.name << ": " << file << " plays for too many letters";
    }
}

TEST_F(BundledSchemes, SchemesAreEquallyLoud)
{
    double quietest = 1e9, loudest = -1e9;
    for (const LoadedScheme& scheme : schemes) {
        const double db = Db(scheme.LetterLoudness());
        std::printf("%-20s letters %6.2f dBFS\n", scheme.name.c_str(), db);
        quietest = std::min(quietest, db);
        loudest = std::max(loudest, db);
    }
    std::printf("spread %.2f dB\n", loudest - quietest);
    EXPECT_LE(loudest - quietest, 3.0);
}

TEST_F(BundledSchemes, ModifiersAndLocksAreQuieterAndWideKeysSoundTheirOwn)
{
    for (const LoadedScheme& scheme : schemes) {
        SCOPED_TRACE(scheme.name);
        const double letters = Db(scheme.LetterLoudness());
        for (const char* key : {"SHIFT", "CTRL", "ALT", "WIN", "CAPSLOCK", "NUMLOCK", "SCROLL"})
            EXPECT_LE(Db(SoundingRms(scheme.SoundOf(key))), letters - 3) << key;
        EXPECT_NE(scheme.table[KeyCodeFromName("SHIFT")], scheme.table[KeyCodeFromName("A")]);
        EXPECT_NE(scheme.table[KeyCodeFromName("CAPSLOCK")],
                  scheme.table[KeyCodeFromName("SHIFT")]);

        std::set<std::vector<double>> letterSounds;
        for (char letter = 'A'; letter <= 'Z'; ++letter)
            letterSounds.insert(scheme.SoundOf(std::string(1, letter).c_str()).samples);
        std::set<std::vector<double>> wide;
        for (const char* key : {"SPACE", "ENTER", "BACK"}) {
            const std::vector<double>& samples = scheme.SoundOf(key).samples;
            EXPECT_EQ(letterSounds.count(samples), 0u) << key << " sounds like a letter";
            wide.insert(samples);
        }
        EXPECT_EQ(wide.size(), 3u) << "Space, Enter and Backspace differ from each other";
    }
}

TEST_F(BundledSchemes, FormatsGiveEveryFilterMaterial)
{
    std::set<int> bits, rates;
    int stereo = 0, mono = 0;
    for (const LoadedScheme& scheme : schemes)
        for (const auto& [file, sound] : scheme.sounds) {
            bits.insert(sound.bits);
            rates.insert(static_cast<int>(sound.rate));
            (sound.channels == 2 ? stereo : mono) += 1;
        }
    EXPECT_EQ(bits, (std::set<int>{8, 16}));
    EXPECT_EQ(rates, (std::set<int>{11025, 22050, 44100}));
    EXPECT_GT(stereo, 0);
    EXPECT_GT(mono, 2 * stereo);
}

TEST_F(BundledSchemes, NoTwoSchemesShareASound)
{
    std::map<std::vector<uint8_t>, std::string> owner;
    for (const LoadedScheme& scheme : schemes)
        for (const auto& [file, sound] : scheme.sounds) {
            const std::vector<uint8_t> bytes = ReadBytes(*folder / scheme.name / file);
            const auto [it, fresh] = owner.emplace(bytes, scheme.name + "/" + file);
            EXPECT_TRUE(fresh || it->second.rfind(scheme.name + "/", 0) == 0)
                << scheme.name << "/" << file << " equals " << it->second;
        }
}

// Every file under `expected` stands under `actual` with the same bytes, and `actual` holds no
// other file. Returns how many files were compared.
size_t ExpectSameFiles(const fs::path& expected, const fs::path& actual)
{
    size_t compared = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(expected)) {
        if (!entry.is_regular_file())
            continue;
        const fs::path twin = actual / fs::relative(entry.path(), expected);
        EXPECT_EQ(ReadBytes(entry.path()), ReadBytes(twin)) << twin;
        ++compared;
    }
    size_t actualCount = 0;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator(actual))
        actualCount += entry.is_regular_file() ? 1 : 0;
    EXPECT_EQ(compared, actualCount) << actual;
    return compared;
}

TEST_F(BundledSchemes, GenerationIsDeterministic)
{
    const fs::path again = FreshFolder("again");
    std::string error;
    ASSERT_TRUE(WriteShippedSchemes(again, error)) << error;
    EXPECT_GT(ExpectSameFiles(*folder, again), 20u * 10);
    fs::remove_all(again);
}

// The program folder ships what the generator's release build wrote: the very bytes these
// tests check.
TEST_F(BundledSchemes, StagedSchemesAreTheCheckedOnes)
{
#ifdef TAPVOX_STAGED_SCHEMES
    const fs::path staged = TAPVOX_STAGED_SCHEMES;
    ASSERT_TRUE(fs::is_directory(staged)) << staged << ": stage the program first (make dist)";
    EXPECT_GT(ExpectSameFiles(*folder, staged), 20u * 10);
#else
    FAIL() << "built without a program folder to compare with: configure with "
              "TAPVOX_BUILD_ROOT, as make native does";
#endif
}

TEST(SchemeWriter, RerunReplacesSchemeFoldersAndLeavesOthersAlone)
{
    const fs::path out = FreshFolder("rerun");
    const std::string first = AllSchemes().front().name;
    fs::create_directories(out / first / "old");
    std::ofstream(out / first / "stale.wav") << "left from an older bundle";
    fs::create_directories(out / "My Own Scheme");
    std::ofstream(out / "My Own Scheme" / "Scheme.txt") << "A=a.wav\r\n";

    std::string error;
    ASSERT_TRUE(WriteAllSchemes(out, error)) << error;
    EXPECT_FALSE(fs::exists(out / first / "stale.wav"));
    EXPECT_FALSE(fs::exists(out / first / "old"));
    EXPECT_TRUE(fs::exists(out / first / "Scheme.txt"));
    EXPECT_TRUE(fs::exists(out / "My Own Scheme" / "Scheme.txt"));
    fs::remove_all(out);
}

TEST(SchemeWriter, UnwritableTargetIsReportedNotIgnored)
{
    const fs::path out = FreshFolder("blocked");
    const fs::path notAFolder = out / "file";
    std::ofstream(notAFolder) << "x";
    std::string error;
    EXPECT_FALSE(WriteAllSchemes(notAFolder, error));
    EXPECT_NE(error.find(AllSchemes().front().name), std::string::npos) << error;
    fs::remove_all(out);
}

}  // namespace
}  // namespace schemegen
