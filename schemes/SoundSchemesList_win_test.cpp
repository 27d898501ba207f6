// The scheme set under Wine, with real scheme folders beside the running program: the schemes
// folder and its registry value, loading and replacing schemes, what each play request reaches
// the wave player with, the limits of names and paths, and the trace records.
#include "schemes/SoundSchemesList.h"

#include "app/ProgramPaths.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "app/Trace.h"
#include "tests/TestWav.h"
#include "tests/CodePageNames.h"
#include "tests/ScopedTraceFile_win.h"
#include "tests/TestFiles.h"
#include "tests/TestFolder_win.h"
#include "audio/WavePlayer.h"
#include "audio/WavePlayer_win.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// Scheme folders are made beside the running program, where other test programs of this build
// make theirs: so the tests run in a private copy of this program, in a folder of its own.
constexpr char kPrivateCopyVariable[] = "TVX_SCHEME_SET_TEST_COPY";

constexpr TestWavFormat kMono16{1, 22050, 16, 2};
constexpr TestWavFormat kMono8{1, 11025, 8, 1};

std::string ThisProgram() {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, sizeof(path));
    return std::string(path, length < sizeof(path) ? length : 0);
}

// Up to the last backslash, worked out here rather than with the scheme set's own rule.
std::string ThisProgramFolder() {
    const std::string program = ThisProgram();
    return program.substr(0, program.rfind('\\') + 1);
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE listing = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (listing != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string path = folder + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(listing, &found));
        FindClose(listing);
    }
    RemoveDirectoryA(folder.c_str());
}

std::vector<uint8_t> Sound(unsigned seed, const TestWavFormat& format = kMono16) {
    return MakePlayableTestWav(format, TestSamples(format.samplesPerSec / 2, seed));
}

std::vector<uint8_t> HeldImage() {
    const PlayingWaveImage held = CurrentPlayingWaveImage();
    return std::vector<uint8_t>(held.data, held.data + held.size);
}

// What the wave player hands to the platform for this file, volume and filter: the wave
// player's tests check the image, these only that the scheme set hands it the right request.
std::vector<uint8_t> PlayedImage(const std::vector<uint8_t>& file, unsigned volume, int filter) {
    WavePlayer::Wave wave(file);
    if (!wave.ApplyFilterAndVolume(volume, filter)) return {};
    return wave.TakePlayImage();
}

// The schemes folder beside this program, emptied before and after each test; no sound held.
class SchemeSet : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveTree(SchemesFolder());
        ASSERT_TRUE(CreateDirectoryA(SchemesFolder().c_str(), nullptr));
        StopWavePlayback();
    }
    void TearDown() override {
        StopWavePlayback();
        RemoveTree(SchemesFolder());
    }

    static std::string SchemesFolder() { return ThisProgramFolder() + "Schemes\\"; }

    // A scheme folder with its scheme file; returns the folder, ending with a separator.
    static std::string AddScheme(const std::string& name, const std::string& schemeText,
                                 const std::string& schemesFolder = SchemesFolder()) {
        const std::string folder = schemesFolder + name + "\\";
        EXPECT_TRUE(CreateDirectoryA(folder.c_str(), nullptr)) << folder;
        EXPECT_TRUE(WriteWholeFile(folder + "Scheme.txt", schemeText));
        return folder;
    }

    static bool NothingHeld() { return CurrentPlayingWaveImage().data == nullptr; }
};

TEST(SchemeSetPaths, SchemesFolderIsBesideTheProgramAndNeverCut) {
    struct Case {
        std::string programPath;
        std::string expected;  // empty: does not fit
    };
    const std::string folder247(246, 'f');
    const Case cases[] = {
        {"C:\\Apps\\Tapvox\\Tapvox.exe", "C:\\Apps\\Tapvox\\Schemes\\"},
        {"C:\\Tapvox.exe", "C:\\Schemes\\"},
        {"C:Tapvox.exe", "C:Schemes\\"},
        // 247 characters of folder and 8 of "Schemes\" are the 255 that fit.
        {folder247 + "\\Tapvox.exe", folder247 + "\\Schemes\\"},
        {folder247 + "x\\Tapvox.exe", ""},
        {"Tapvox.exe", ""},  // no folder: never a relative schemes folder
    };
    for (const Case& c : cases) {
        char out[kMaxSchemePathChars + 1];
        std::memset(out, '?', sizeof(out));
        EXPECT_EQ(BuildSchemesFolder(c.programPath.c_str(), out, sizeof(out)), !c.expected.empty())
            << c.programPath;
        EXPECT_EQ(std::string(out), c.expected) << c.programPath;
    }
}

TEST_F(SchemeSet, FreshInstanceWritesItsFolderAndPlaysNothing) {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kSettingsKey, kSchemesPathValueName);
    AddScheme("Clicks", "CHARS=a.wav DIGITS=a.wav");
    WriteWholeFile(SchemesFolder() + "Clicks\\a.wav", Sound(1));

    SoundSchemesList set;
    EXPECT_EQ(std::string(set.schemesFolder), SchemesFolder());
    char stored[MAX_PATH];
    ReadSettingText(HKEY_CURRENT_USER, kSettingsKey, kSchemesPathValueName, stored,
                    sizeof(stored));
    EXPECT_EQ(std::string(stored), SchemesFolder());
    EXPECT_STREQ(set.schemeName, "");
    EXPECT_FALSE(set.readOnce);
    for (unsigned code : {0u, 49u, 65u, 255u}) set.PlayNS(code, 0, 100, 0);
    EXPECT_TRUE(NothingHeld()) << "no scheme is loaded before the first read";
}

TEST_F(SchemeSet, KeysPlayTheirSchemesFilesWithVolumeAndFilter) {
    AddScheme("Clicks", "A=a.wav\r\nDIGITS=sub\\d.wav\r\n");
    const std::string folder = SchemesFolder() + "Clicks\\";
    const std::vector<uint8_t> a = Sound(2);
    const std::vector<uint8_t> d = Sound(3, kMono8);
    ASSERT_TRUE(WriteWholeFile(folder + "a.wav", a));
    ASSERT_TRUE(CreateDirectoryA((folder + "sub").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(folder + "sub\\d.wav", d));

    SoundSchemesList set;
    set.ReadFromConfig("Clicks");
    EXPECT_STREQ(set.schemeName, "Clicks");
    EXPECT_TRUE(set.readOnce);

    struct Press {
        unsigned code;
        int volume;
        int filter;
        const std::vector<uint8_t>* file;
    };
    const Press presses[] = {
        {65, 100, FilterNone, &a},     {49, 100, FilterNone, &d},
        {65, 40, FilterInversion, &a}, {105, 0, FilterEcho, &d},
        {65, -1, FilterNone, &a},      // a negative volume skips the volume step
        {48, 73, 12345, &d},           // an unknown filter plays unfiltered
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(::testing::Message() << "key " << press.code << ", volume " << press.volume
                                          << ", filter " << press.filter);
        set.PlayNS(press.code, 0, press.volume, press.filter);
        EXPECT_EQ(HeldImage(),
                  PlayedImage(*press.file, static_cast<unsigned>(press.volume), press.filter));
    }
}

TEST_F(SchemeSet, SilentRequestsLeaveTheCurrentSoundPlaying) {
    AddScheme("Clicks", "A=a.wav B=missing.wav C=folder.wav D=text.wav");
    const std::string folder = SchemesFolder() + "Clicks\\";
    const std::vector<uint8_t> a = Sound(4);
    ASSERT_TRUE(WriteWholeFile(folder + "a.wav", a));
    ASSERT_TRUE(CreateDirectoryA((folder + "folder.wav").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(folder + "text.wav", std::string("not a sound at all")));

    SoundSchemesList set;
    set.ReadFromConfig("Clicks");
    set.PlayNS(65, 0, 100, 0);
    ASSERT_EQ(HeldImage(), a);
    const unsigned silentCodes[] = {
        66, 67, 68,       // a missing file, a folder, a file that is no sound
        90,               // a key without a sound
        256, 65 + 256,    // beyond the table, also where the low byte names a key with a sound
        0xFFFFFFFFu,
    };
    for (unsigned code : silentCodes) {
        set.PlayNS(code, 0, 50, 0);
        EXPECT_EQ(HeldImage(), a) << "key " << code;
    }
    set.PlayNS(65, 1, 50, 0);
    EXPECT_EQ(HeldImage(), a) << "muted";
}

TEST_F(SchemeSet, ReleasesPlayTheirOwnSoundsUnfiltered) {
    AddScheme("Clicks", "A=a.wav B=b.wav A.UP=up.wav SHIFT.UP=sub\\s.wav CHARS=a.wav");
    const std::string folder = SchemesFolder() + "Clicks\\";
    const std::vector<uint8_t> a = Sound(20);
    const std::vector<uint8_t> up = Sound(21);
    const std::vector<uint8_t> shift = Sound(22, kMono8);
    ASSERT_TRUE(WriteWholeFile(folder + "a.wav", a));
    ASSERT_TRUE(WriteWholeFile(folder + "up.wav", up));
    ASSERT_TRUE(CreateDirectoryA((folder + "sub").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(folder + "sub\\s.wav", shift));

    SoundSchemesList set;
    set.ReadFromConfig("Clicks");
    const struct {
        unsigned code;
        int muted;
        int volume;
        const std::vector<uint8_t>* held;  // what plays after the release
        unsigned heldVolume;
    } releases[] = {
        {65, 0, 40, &up, 40},        // A's release, at the volume asked for
        {16, 0, 100, &shift, 100},   // Shift's, polled
        {66, 0, 100, &shift, 100},   // B has a press sound and no release sound: nothing
        {67, 0, 100, &shift, 100},   // nor has C, whose press comes from the group
        {65, 1, 100, &shift, 100},   // muted
        {65 + 256, 0, 100, &shift, 100},
    };
    for (const auto& release : releases) {
        SCOPED_TRACE(::testing::Message() << "key " << release.code << ", muted "
                                          << release.muted);
        set.PlayReleaseNS(release.code, release.muted, release.volume);
        EXPECT_EQ(HeldImage(), PlayedImage(*release.held, release.heldVolume, FilterNone));
    }
    set.PlayNS(65, 0, 100, FilterInversion);
    EXPECT_EQ(HeldImage(), PlayedImage(a, 100, FilterInversion)) << "presses stay as they were";

    // Read again: a scheme without release words plays no release.
    AddScheme("Plain", "A=a.wav");
    ASSERT_TRUE(WriteWholeFile(SchemesFolder() + "Plain\\a.wav", a));
    set.ReadFromConfig("Plain");
    StopWavePlayback();
    set.PlayReleaseNS(65, 0, 100);
    EXPECT_TRUE(NothingHeld());
}

TEST_F(SchemeSet, AReleaseWithoutASoundLeavesNoTrace) {
    AddScheme("Clicks", "A=a.wav B.UP=up.wav");
    ASSERT_TRUE(WriteWholeFile(SchemesFolder() + "Clicks\\up.wav", Sound(23)));
    SoundSchemesList set;
    set.ReadFromConfig("Clicks");
    const ScopedTraceFile trace;
    ASSERT_TRUE(trace.FolderReady());
    set.PlayReleaseNS(65, 0, 100);
    set.PlayReleaseNS(66, 1, 100);
    set.PlayReleaseNS(66, 0, 100);
    trace.StopTracing();
    EXPECT_EQ(ReadWholeFile(kTraceFilePath),
              "Entering SoundSchemesList::PlayReleaseNS() - (SoundSchemesList.cpp:190)\r\n"
              "Leaving  SoundSchemesList::PlayReleaseNS() - (SoundSchemesList.cpp)\r\n"
              "Entering WavePlayer::Wave::play() - (WavePlayer.cpp:39)\r\n"
              "Leaving  WavePlayer::Wave::play() - (WavePlayer.cpp)\r\n");
}

TEST_F(SchemeSet, EveryPressReadsItsFileAfresh) {
    AddScheme("Clicks", "A=a.wav");
    const std::string path = SchemesFolder() + "Clicks\\a.wav";
    const std::vector<uint8_t> before = Sound(5);
    const std::vector<uint8_t> after = Sound(6, kMono8);
    ASSERT_TRUE(WriteWholeFile(path, before));
    SoundSchemesList set;
    set.ReadFromConfig("Clicks");
    set.PlayNS(65, 0, 100, 0);
    EXPECT_EQ(HeldImage(), before);
    ASSERT_TRUE(WriteWholeFile(path, after));
    set.PlayNS(65, 0, 100, 0);
    EXPECT_EQ(HeldImage(), after);
}

TEST_F(SchemeSet, ASecondSchemeLeavesNothingOfTheFirst) {
    AddScheme("First", "A=a.wav B=b.wav FUNCS=f.wav");
    AddScheme("Second", "B=second.wav");
    SoundSchemesList set;
    set.ReadFromConfig("First");
    ASSERT_EQ(set.keySounds[65], "a.wav");
    set.ReadFromConfig("Second");
    EXPECT_STREQ(set.schemeName, "Second");
    for (unsigned code = 0; code < set.keySounds.size(); ++code) {
        EXPECT_EQ(set.keySounds[code], code == 66 ? "second.wav" : "") << "key " << code;
    }
    // A scheme without a scheme file becomes the loaded one, with no sounds.
    set.ReadFromConfig("Missing");
    EXPECT_STREQ(set.schemeName, "Missing");
    for (const std::string& sound : set.keySounds) EXPECT_EQ(sound, "");
}

// Scheme and sound names beyond ASCII, in the ANSI code page as the folder listing and the
// scheme file hold them, load and play byte for byte. ctest runs this under code pages 1251 and
// 932 as well.
TEST_F(SchemeSet, NamesBeyondAsciiLoadAndPlay) {
    const NarrowNames names = NamesOfThisCodePage();
    if (!names.found) return;
    const std::string& scheme = names.scheme;
    const std::string& sound = names.sound;

    // A key part beyond ASCII names no key.
    AddScheme(scheme, "A=" + sound + "\r\nenter=" + sound + " " + sound + "=x.wav\r\n");
    const std::vector<uint8_t> file = Sound(9);
    ASSERT_TRUE(WriteWholeFile(SchemesFolder() + scheme + "\\" + sound, file));
    const std::wstring wideFolder = Wide(SchemesFolder());  // ASCII: the build's own path
    EXPECT_NE(GetFileAttributesW((wideFolder + names.wideScheme + L"\\" + names.wideSound).c_str()),
              INVALID_FILE_ATTRIBUTES)
        << "the narrow names are the intended characters";

    SoundSchemesList set;
    set.ReadFromConfig(scheme.c_str());
    EXPECT_EQ(std::string(set.schemeName), scheme);
    for (unsigned code = 0; code < set.keySounds.size(); ++code) {
        EXPECT_EQ(set.keySounds[code], code == 65 || code == 13 ? sound : "") << "key " << code;
    }
    set.PlayNS(65, 0, 100, FilterNone);
    EXPECT_EQ(HeldImage(), PlayedImage(file, 100, FilterNone));
}

TEST_F(SchemeSet, OverlongSchemeNameLoadsNoSchemeRatherThanAShorterOne) {
    const std::string name24 = "ABCDEFGHIJKLMNOPQRSTUVWX";
    const std::string name25 = name24 + "Y";
    AddScheme(name24, "A=a.wav");
    AddScheme(name25, "A=a.wav");
    ASSERT_TRUE(WriteWholeFile(SchemesFolder() + name24 + "\\a.wav", Sound(7)));
    ASSERT_TRUE(WriteWholeFile(SchemesFolder() + name25 + "\\a.wav", Sound(8)));

    SoundSchemesList set;
    set.ReadFromConfig(name24.c_str());
    EXPECT_EQ(std::string(set.schemeName), name24);
    set.PlayNS(65, 0, 100, 0);
    EXPECT_EQ(HeldImage(), Sound(7));

    StopWavePlayback();
    set.ReadFromConfig(name25.c_str());
    EXPECT_STREQ(set.schemeName, "");
    for (const std::string& sound : set.keySounds) EXPECT_EQ(sound, "");
    set.PlayNS(65, 0, 100, 0);
    EXPECT_TRUE(NothingHeld());
}

TEST_F(SchemeSet, SoundPathsBeyond255CharactersAreSkippedNotCut) {
    const std::string folder = AddScheme("Long", "");
    // Names that make the sound path exactly 255 characters, and one more; the cut form of the
    // longer one is a real sound too, so cutting instead of skipping would be heard.
    const size_t fitting = kMaxSchemePathChars - folder.size();
    const std::string exact = std::string(fitting - 4, 'a') + ".wav";
    const std::string tooLong = std::string(fitting - 3, 'b') + ".wav";
    const std::string cut = tooLong.substr(0, fitting);
    ASSERT_TRUE(WriteWholeFile(folder + "Scheme.txt", "A=" + exact + " B=" + tooLong));
    ASSERT_TRUE(WriteWholeFile(folder + exact, Sound(9)));
    ASSERT_TRUE(WriteWholeFile(folder + tooLong, Sound(10)));
    ASSERT_TRUE(WriteWholeFile(folder + cut, Sound(11)));

    SoundSchemesList set;
    set.ReadFromConfig("Long");
    char path[MAX_PATH];
    ASSERT_TRUE(set.SoundPathOf(65, path, sizeof(path)));
    EXPECT_EQ(std::string(path), folder + exact);
    EXPECT_EQ(std::strlen(path), kMaxSchemePathChars);
    set.PlayNS(65, 0, 100, 0);
    EXPECT_EQ(HeldImage(), Sound(9));

    StopWavePlayback();
    EXPECT_FALSE(set.SoundPathOf(66, path, sizeof(path)));
    EXPECT_STREQ(path, "");
    set.PlayNS(66, 0, 100, 0);
    EXPECT_TRUE(NothingHeld());

    // A buffer too small for a path that is within the limit gets nothing either.
    char small[16];
    EXPECT_FALSE(set.SoundPathOf(65, small, sizeof(small)));
    EXPECT_STREQ(small, "");
}

TEST_F(SchemeSet, SchemeFilePathBeyond255CharactersLoadsNoScheme) {
    // A schemes folder deep enough that "<folder>S\Scheme.txt" is exactly 255 characters.
    const std::string base = SchemesFolder() + "deep\\";
    ASSERT_TRUE(CreateDirectoryA(base.c_str(), nullptr));
    const size_t folderChars = kMaxSchemePathChars - std::strlen("S\\Scheme.txt");
    const std::string deep = base + std::string(folderChars - base.size() - 1, 'd') + "\\";
    ASSERT_EQ(deep.size(), folderChars);
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr)) << deep;
    AddScheme("S", "A=a.wav", deep);
    AddScheme("SS", "A=a.wav", deep);

    SoundSchemesList set;
    std::strcpy(set.schemesFolder, deep.c_str());
    set.ReadFromConfig("S");
    EXPECT_STREQ(set.schemeName, "S");
    EXPECT_EQ(set.keySounds[65], "a.wav");
    set.ReadFromConfig("SS");
    EXPECT_STREQ(set.schemeName, "");
    EXPECT_EQ(set.keySounds[65], "");

    // Without a schemes folder (a program path too long for one) no scheme loads, not even
    // one that a relative path would find.
    set.schemesFolder[0] = '\0';
    set.ReadFromConfig("S");
    EXPECT_STREQ(set.schemeName, "");
    EXPECT_EQ(set.keySounds[65], "");
}

TEST_F(SchemeSet, TraceRecordsOfEachOperation) {
    AddScheme("Clicks", "A=a.wav B=broken.wav");
    const std::string folder = SchemesFolder() + "Clicks\\";
    ASSERT_TRUE(WriteWholeFile(folder + "a.wav", Sound(12)));
    // A chunk after an 18-byte format chunk that is shorter than its first value: the wave
    // cannot be built, which ends the request through its failure path.
    TestWavBuilder broken;
    broken.Header(kMono16, 18).Chunk("fact", {1, 2}).Chunk("data", TestSamples(64, 13));
    ASSERT_TRUE(WriteWholeFile(folder + "broken.wav", broken.Image()));

    const ScopedTraceFile trace;
    ASSERT_TRUE(trace.FolderReady());
    {
        SoundSchemesList set;
        set.ReadFromConfig("Clicks");
        set.PlayNS(65, 1, 100, 0);  // muted: no record at all
        set.PlayNS(65, 0, 100, 0);
        set.PlayNS(256, 0, 100, 0);
        set.PlayNS(66, 0, 100, 0);
    }
    trace.StopTracing();
    const std::string log = ReadWholeFile(kTraceFilePath);

    auto pair = [](const std::string& operation, const std::string& source, int line) {
        return "Entering " + operation + "() - (" + source + ":" + std::to_string(line) +
               ")\r\nLeaving  " + operation + "() - (" + source + ")\r\n";
    };
    const std::string unit = "SoundSchemesList.cpp";
    const std::string play = pair("SoundSchemesList::PlayNS", unit, 158);
    EXPECT_EQ(log, pair("SoundSchemesList::SoundSchemesList", unit, 24) +
                       pair("SoundSchemesList::Init", unit, 39) +
                       pair("SoundSchemesList::ReadFromConfig", unit, 57) +
                       play + pair("WavePlayer::Wave::play", "WavePlayer.cpp", 39) +
                       play +
                       play + pair("SoundSchemesList::PlayNS", unit, 176) +
                       pair("SoundSchemesList::~SoundSchemesList", unit, 314));
    EXPECT_EQ(HeldImage(), Sound(12)) << "the failed request left the sound playing";
}

// Copies this program into a fresh temporary folder, runs the copy with the same arguments and
// returns its exit code.
int RunPrivateCopy(int argc, char** argv) {
    const std::string folder = TemporaryPathFor("tvx-scheme-set-");
    if (folder.empty()) return 1;
    RemoveTree(folder);
    const std::string copy = folder + "\\SoundSchemesList_win_test.exe";
    if (!CreateDirectoryA(folder.c_str(), nullptr) ||
        !CopyFileA(ThisProgram().c_str(), copy.c_str(), FALSE)) {
        fprintf(stderr, "cannot make the private copy %s\n", copy.c_str());
        return 1;
    }
    std::string commandLine = "\"" + copy + "\"";
    for (int i = 1; i < argc; ++i) commandLine += std::string(" \"") + argv[i] + "\"";

    SetEnvironmentVariableA(kPrivateCopyVariable, "1");
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    for (HANDLE handle : {startup.hStdInput, startup.hStdOutput, startup.hStdError}) {
        SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    PROCESS_INFORMATION process{};
    DWORD exitCode = 1;
    if (CreateProcessA(copy.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                       nullptr, &startup, &process)) {
        WaitForSingleObject(process.hProcess, INFINITE);
        GetExitCodeProcess(process.hProcess, &exitCode);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    } else {
        fprintf(stderr, "cannot start the private copy (error %lu)\n", GetLastError());
    }
    RemoveTree(folder);
    return static_cast<int>(exitCode);
}

}  // namespace

int main(int argc, char** argv) {
    if (GetEnvironmentVariableA(kPrivateCopyVariable, nullptr, 0) == 0) {
        return RunPrivateCopy(argc, argv);
    }
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
