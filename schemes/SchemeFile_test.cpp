#include "schemes/SchemeFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

using Assignments = std::vector<std::pair<unsigned, std::string>>;

Assignments GroupGets(const char* groupName, const std::string& file) {
    Assignments result;
    const KeyGroup* group = FindKeyGroup(groupName);
    for (size_t i = 0; group != nullptr && i < group->codeCount; ++i) {
        result.emplace_back(group->codes[i], file);
    }
    return result;
}

Assignments operator+(Assignments first, const Assignments& later) {
    first.insert(first.end(), later.begin(), later.end());
    return first;
}

// The table that the assignments give, applied in order; every other entry is empty.
KeySoundTable TableOf(const Assignments& assignments) {
    KeySoundTable table;
    for (const auto& [code, file] : assignments) table[code] = file;
    return table;
}

KeySoundTable Apply(const std::string& text) {
    KeySoundTable table;
    ApplySchemeText(text.data(), text.size(), table);
    return table;
}

struct TextCase {
    const char* what;
    std::string text;
    Assignments expected;
};

TEST(SchemeText, WordsBecomeAssignments) {
    const std::string longValue(253, 'v');  // "A=" plus 253 characters: a 255-character word
    const TextCase cases[] = {
        {"words of the example file",
         "[Keys]\r\nDIGITS=digit.wav\r\nCHARS=key.wav\r\nA=a.wav\r\nenter=bell.wav\r\n"
         "Space = space.wav\r\n",
         GroupGets("DIGITS", "digit.wav") + GroupGets("CHARS", "key.wav") +
             Assignments{{65, "a.wav"}, {13, "bell.wav"}}},
        {"lower-case key, value keeps its case", "a=X.Wav", {{65, "X.Wav"}}},
        {"empty value or no equals sign", "A= A B=", {}},
        {"value after the first equals sign", "A==x.wav", {{65, "=x.wav"}}},
        {"empty key", "=x.wav", {}},
        {"blanks around the equals sign", "A = a.wav", {}},
        {"group then exception", "CHARS=k.wav Q=q.wav",
         GroupGets("CHARS", "k.wav") + Assignments{{81, "q.wav"}}},
        {"group overrides earlier key", "Q=q.wav CHARS=k.wav", GroupGets("CHARS", "k.wav")},
        {"function keys", "FUNCS=f.wav F1=g.wav",
         GroupGets("FUNCS", "f.wav") + Assignments{{112, "g.wav"}}},
        {"own codes and shared names", "NUMLOCK=n.wav WINL=w.wav clear=c.wav",
         {{157, "n.wav"}, {91, "w.wav"}, {254, "c.wav"}}},
        {"later word wins", "WINL=w.wav WIN=v.wav", {{91, "v.wav"}}},
        {"every separator", "A=a\tB=b\vC=c\fD=d\rE=e\nF=f  G=g",
         {{65, "a"}, {66, "b"}, {67, "c"}, {68, "d"}, {69, "e"}, {70, "f"}, {71, "g"}}},
        {"unknown names and groups in lower case", "FOO=x.wav digits=d.wav F25=y.wav",
         GroupGets("DIGITS", "d.wav")},
        {"stray brackets", "[A=a.wav B=b.wav] C]=c.wav [ D=d.wav",
         {{66, "b.wav]"}, {68, "d.wav"}}},
        {"sub-path and ANSI bytes kept", "A=sub\\\xE9t\xE9.wav", {{65, "sub\\\xE9t\xE9.wav"}}},
        {"byte-order mark spoils the first word", "\xEF\xBB\xBF" "A=a.wav B=b.wav",
         {{66, "b.wav"}}},
        {"0x1A ends the text", "A=a.wav\x1A B=b.wav", {{65, "a.wav"}}},
        {"0x1A inside a word cuts it", "A=a.w\x1Av B=b.wav", {{65, "a.w"}}},
        {"zero byte ends the text", std::string("A=a.wav\0B=b.wav", 15), {{65, "a.wav"}}},
        {"UTF-16 text gives nothing", std::string("\xFF\xFE" "A\0=\0a\0\r\0\n\0", 12), {}},
        {"only section headers", "[Keys]\r\n[More]\r\n", {}},
        {"empty text", "", {}},
        {"255-character word", "A=" + longValue, {{65, longValue}}},
        {"256-character word skipped whole", "A=" + longValue + "v B=b", {{66, "b"}}},
        {"long word never cut into another", std::string(300, 'x') + "B=b.wav C=c", {{67, "c"}}},
    };
    for (const TextCase& c : cases) EXPECT_EQ(Apply(c.text), TableOf(c.expected)) << c.what;
}

struct ReleaseCase {
    const char* what;
    std::string text;
    Assignments presses;
    Assignments releases;
};

TEST(SchemeText, ReleaseWordsGoToTheirOwnTable) {
    const ReleaseCase cases[] = {
        {"a key and its release", "A=a.wav A.UP=a-up.wav", {{65, "a.wav"}}, {{65, "a-up.wav"}}},
        {"any case", "enter.up=e.wav Shift.Up=s.wav", {}, {{13, "e.wav"}, {16, "s.wav"}}},
        {"groups", "CHARS.UP=c.wav DIGITS.UP=d.wav FUNCS.UP=f.wav", {},
         GroupGets("CHARS", "c.wav") + GroupGets("DIGITS", "d.wav") +
             GroupGets("FUNCS", "f.wav")},
        {"group then exception", "CHARS.UP=c.wav Q.UP=q.wav", {},
         GroupGets("CHARS", "c.wav") + Assignments{{81, "q.wav"}}},
        {"exception then group", "Q.UP=q.wav CHARS.UP=c.wav", {}, GroupGets("CHARS", "c.wav")},
        {"later word wins", "WINL.UP=w.wav WIN.UP=v.wav", {}, {{91, "v.wav"}}},
        {"the Up arrow's release", "UP=u.wav UP.UP=uu.wav", {{38, "u.wav"}}, {{38, "uu.wav"}}},
        {"release words never touch presses", "CHARS=k.wav A.UP=", GroupGets("CHARS", "k.wav"),
         {}},
        {"bare suffix", ".UP=x.wav .up=y.wav", {}, {}},
        {"empty value", "A.UP= B.UP", {}, {}},
        {"suffix not at the end", "A.UPX=x.wav A.UP.UP=y.wav A.U=z.wav AUP=w.wav", {}, {}},
        {"section header", "[A.UP] [A.UP=x.wav]", {}, {}},
        {"unknown name", "FOO.UP=x.wav F25.UP=y.wav", {}, {}},
        {"value after the first equals sign", "A.UP==x.wav", {}, {{65, "=x.wav"}}},
    };
    for (const ReleaseCase& c : cases) {
        KeySoundTable presses;
        KeySoundTable releases;
        ApplySchemeText(c.text.data(), c.text.size(), presses, &releases);
        EXPECT_EQ(presses, TableOf(c.presses)) << c.what;
        EXPECT_EQ(releases, TableOf(c.releases)) << c.what;
        // A reader that takes no releases reads the presses alike.
        EXPECT_EQ(Apply(c.text), TableOf(c.presses)) << c.what;
    }
}

// Mouse button words fill the buttons' codes, which no key name reaches, so a scheme without
// them reads as it did, and one with them gives every key the sound it had.
TEST(SchemeText, MouseButtonWordsSetTheirButtonsOnly) {
    const ReleaseCase cases[] = {
        {"every button",
         "LBUTTON=l.wav RBUTTON=r.wav MBUTTON=m.wav XBUTTON1=x1.wav XBUTTON2=x2.wav",
         {{1, "l.wav"}, {2, "r.wav"}, {4, "m.wav"}, {5, "x1.wav"}, {6, "x2.wav"}}, {}},
        {"any case, releases apart", "lbutton=l.wav LButton.Up=l-up.wav rbutton.up=r-up.wav",
         {{1, "l.wav"}}, {{1, "l-up.wav"}, {2, "r-up.wav"}}},
        {"keys keep their sounds", "CHARS=k.wav LBUTTON=l.wav A=a.wav",
         GroupGets("CHARS", "k.wav") + Assignments{{1, "l.wav"}, {65, "a.wav"}}, {}},
        {"later word wins", "MBUTTON=m.wav MBUTTON=n.wav", {{4, "n.wav"}}, {}},
        {"no group reaches a button", "CHARS=k.wav DIGITS=d.wav FUNCS=f.wav",
         GroupGets("CHARS", "k.wav") + GroupGets("DIGITS", "d.wav") + GroupGets("FUNCS", "f.wav"),
         {}},
        {"near misses", "BUTTON=b XBUTTON=x XBUTTON3=y LBUTTONS=z LB=l LBUTTON= MOUSE=m", {}, {}},
    };
    for (const ReleaseCase& c : cases) {
        KeySoundTable presses;
        KeySoundTable releases;
        ApplySchemeText(c.text.data(), c.text.size(), presses, &releases);
        EXPECT_EQ(presses, TableOf(c.presses)) << c.what;
        EXPECT_EQ(releases, TableOf(c.releases)) << c.what;
    }
}

class SchemeFolder : public testing::Test {
protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("tapvox-scheme-" + std::string(testing::UnitTest::GetInstance()
                                                      ->current_test_info()->name()));
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(folder_ / name, std::ios::binary) << text;
    }
    std::string FolderWithSeparator() const { return (folder_ / "").string(); }

    fs::path folder_;
};

TEST_F(SchemeFolder, TxtWinsOverIni) {
    Write("Scheme.txt", "A=txt.wav");
    Write("Scheme.ini", "A=ini.wav B=ini.wav");
    KeySoundTable table;
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, TableOf({{65, "txt.wav"}}));
}

TEST_F(SchemeFolder, IniWhenTxtIsMissingOrAFolder) {
    Write("Scheme.ini", "B=ini.wav");
    KeySoundTable table;
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, TableOf({{66, "ini.wav"}}));

    fs::create_directory(folder_ / "Scheme.txt");
    table = KeySoundTable();
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, TableOf({{66, "ini.wav"}}));
}

TEST_F(SchemeFolder, NoFileClearsTheTable) {
    KeySoundTable table = TableOf({{65, "old.wav"}});
    EXPECT_FALSE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, KeySoundTable());
    table = TableOf({{65, "old.wav"}});
    EXPECT_FALSE(ReadSchemeFile(FolderWithSeparator() + "missing/", table));
    EXPECT_EQ(table, KeySoundTable());
}

TEST_F(SchemeFolder, SecondSchemeReplacesTheFirst) {
    KeySoundTable table = TableOf({{65, "old.wav"}, {13, "old.wav"}});
    Write("Scheme.txt", "");
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, KeySoundTable());
    Write("Scheme.txt", "ENTER=new.wav");
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    EXPECT_EQ(table, TableOf({{13, "new.wav"}}));
}

// Files are read in pieces; words that straddle a piece boundary must come out whole.
TEST_F(SchemeFolder, LargeFileReadsLikeItsText) {
    std::string text;
    for (int i = 0; text.size() < 20000; ++i) {
        text += (i % 2 ? "A=a" : "B=bb") + std::to_string(i) + (i % 3 ? " " : "\r\n");
    }
    text += "ENTER=last.wav\x1A" "SPACE=after.wav";
    Write("Scheme.txt", text);
    KeySoundTable table;
    EXPECT_TRUE(ReadSchemeFile(FolderWithSeparator(), table));
    // The whole text applied at once, checked above, is the reference.
    EXPECT_EQ(table, Apply(text));
    EXPECT_EQ(table[13], "last.wav");
    EXPECT_EQ(table[32], "");
}

// A scheme file path of 257 characters: short enough for the platform, too long for us.
TEST_F(SchemeFolder, OverlongPathIsNotOpened) {
    const std::string base = FolderWithSeparator();
    const size_t nameLength = kMaxSchemePathChars + 2 - base.size() - 1 - std::strlen("Scheme.txt");
    const std::string deep = base + std::string(nameLength, 'd') + "/";
    fs::create_directories(deep);
    std::ofstream(deep + "Scheme.txt") << "A=a.wav";
    ASSERT_TRUE(fs::exists(deep + "Scheme.txt"));
    KeySoundTable table;
    EXPECT_FALSE(ReadSchemeFile(deep, table));
    EXPECT_EQ(table, KeySoundTable());
}

// Bytes from a fixed linear congruential sequence: the same noise on every run.
std::string Noise(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    for (char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return bytes;
}

// Noise that never ends the text early.
std::string NoiseWithoutEnd(size_t size, uint32_t seed) {
    std::string bytes = Noise(size, seed);
    for (char& b : bytes) {
        if (b == '\0' || b == '\x1A') b = '\x80';
    }
    return bytes;
}

std::string Repeat(const std::string& piece, size_t totalSize) {
    std::string text;
    text.reserve(totalSize + piece.size());
    while (text.size() < totalSize) text += piece;
    return text;
}

// Files nobody writes by hand: huge, one endless line, noise. Each reads without harm, keeps
// what its words say, and stays within the table's limits.
TEST_F(SchemeFolder, HugeAndNoisyFilesReadByTheirWords) {
    constexpr size_t kMegabyte = 1 << 20;
    ASSERT_LT(Noise(kMegabyte, 11).find('\0'), kMegabyte / 2) << "the noise needs a zero byte";
    const struct {
        const char* what;
        std::string text;
        Assignments expected;  // among what the noise may set by chance, these must hold
        bool exact;
    } cases[] = {
        {"10 MB of assignments, the last of each key wins",
         Repeat("CHARS=k.wav\r\nA=a.wav B=b.wav\r\n[Keys]\r\n", 10 * kMegabyte) + "Q=q.wav",
         GroupGets("CHARS", "k.wav") + Assignments{{65, "a.wav"}, {66, "b.wav"}, {81, "q.wav"}},
         true},
        {"10 MB of words that are no assignments",
         Repeat("Space = space.wav [A=a.wav] x ", 10 * kMegabyte) + "ENTER=e.wav",
         {{13, "e.wav"}}, true},
        {"a line of 1 MB: blank-separated words",
         Repeat("A=a.wav ", kMegabyte) + "\r\nB=b.wav", {{65, "a.wav"}, {66, "b.wav"}}, true},
        {"a word of 1 MB is skipped whole",
         "A=" + std::string(kMegabyte, 'v') + "\r\nB=b.wav", {{66, "b.wav"}}, true},
        {"1 MB of binary noise, then a word", NoiseWithoutEnd(kMegabyte, 7) + "\nENTER=e.wav",
         {{13, "e.wav"}}, false},
        {"noise ends at its first zero byte", Noise(kMegabyte, 11) + "\nENTER=e.wav",
         {{13, ""}}, false},
    };
    for (const auto& c : cases) {
        Write("Scheme.txt", c.text);
        KeySoundTable table;
        ASSERT_TRUE(ReadSchemeFile(FolderWithSeparator(), table)) << c.what;
        if (c.exact) {
            EXPECT_EQ(table, TableOf(c.expected)) << c.what;
        } else {
            for (const auto& [code, file] : c.expected) EXPECT_EQ(table[code], file) << c.what;
        }
        EXPECT_EQ(table[0], "") << c.what;
        for (const std::string& file : table) {
            EXPECT_LE(file.size(), kMaxSchemeWordChars - 2) << c.what;
            EXPECT_EQ(file.find_first_of(std::string(" \t\r\n\v\f\0\x1A", 8)), std::string::npos)
                << c.what;
        }
    }
}

TEST(SchemeWriter, OneLinePerRowWithAFileInListOrder) {
    KeySoundTable table;
    EXPECT_EQ(FormatSchemeText(table), "");
    table[KeyCodeFromName("SPACE")] = "space.wav";
    table[KeyCodeFromName("A")] = "a.wav";
    table[KeyCodeFromName("SLASH")] = "sl ash.wav";
    EXPECT_EQ(FormatSchemeText(table), "A=a.wav\r\nSPACE=space.wav\r\nSLASH=sl ash.wav\r\n");
}

// Keys outside the editor's rows follow the rows, by code, under their first name.
TEST(SchemeWriter, OtherNamedKeysFollowTheRowsByCode) {
    KeySoundTable table;
    table[KeyCodeFromName("CLEAR")] = "c.wav";
    table[KeyCodeFromName("F2")] = "f2.wav";
    table[KeyCodeFromName("LEFT")] = "l.wav";
    table[KeyCodeFromName("WINL")] = "w.wav";
    table[KeyCodeFromName("A")] = "a.wav";
    EXPECT_EQ(FormatSchemeText(table),
              "A=a.wav\r\nWIN=w.wav\r\nLEFT=l.wav\r\nF2=f2.wav\r\nCLEAR=c.wav\r\n");
}

// Grave accent and backslash sound only through "CHARS": its line comes first, and only when
// every letter has a line after it to undo it and both keys share its sound.
TEST(SchemeWriter, NamelessCharsKeysSoundThroughAGroupLineFirst) {
    KeySoundTable table;
    for (char letter = 'A'; letter <= 'Z'; ++letter) table[KeyCodeFromName(std::string(1, letter).c_str())] = "k.wav";
    table[192] = "g.wav";
    table[220] = "g.wav";
    const std::string text = FormatSchemeText(table);
    EXPECT_EQ(text.rfind("CHARS=g.wav\r\nA=k.wav\r\n", 0), 0u) << text;

    KeySoundTable letterMissing = table;
    letterMissing[KeyCodeFromName("Q")].clear();
    EXPECT_EQ(FormatSchemeText(letterMissing).find("CHARS="), std::string::npos)
        << "Q would sound";
    KeySoundTable differing = table;
    differing[220] = "b.wav";
    EXPECT_EQ(FormatSchemeText(differing).find("CHARS="), std::string::npos);
}

// Whatever the reader made of a file, the written text reads back to the same table: keys
// outside the rows and the nameless keys keep their sounds, and no word the reader skipped
// becomes one.
TEST(SchemeWriter, WrittenTextReadsBackToTheSameTable) {
    const std::string texts[] = {
        "",
        "[Keys]\r\nCHARS=c.wav\r\nDIGITS=d.wav\r\nFUNCS=f.wav\r\nA=a.wav\r\n",
        "A=a.wav CHARS=c.wav",
        "CHARS=one.wav CHARS=two.wav z=z.wav D5=sub\\five.wav",
        "FUNCS=f.wav F1=g.wav F24=h.wav",
        "LEFT=l.wav UP=u.wav RIGHT=r.wav DOWN=d.wav PRTSC=p.wav SCROLL=s.wav CAPSLOCK=c.wav "
        "WINL=w.wav WINR=v.wav APPS=m.wav NUMLOCK=n.wav CLEAR=x.wav PAUSE=y.wav",
        "chars=c.wav Space bogus=b.wav [x=y] DIGITS KEY=k.wav = A= A==eq.wav ENTER=e=.wav",
    };
    for (const std::string& text : texts) {
        KeySoundTable table;
        ApplySchemeText(text.data(), text.size(), table);
        const std::string written = FormatSchemeText(table);
        KeySoundTable reread;
        ApplySchemeText(written.data(), written.size(), reread);
        EXPECT_EQ(reread, table) << text << "\nwritten as\n" << written;
    }
}

TEST(SchemeWriter, ReleaseLinesFollowEveryPressLine) {
    KeySoundTable presses;
    presses[KeyCodeFromName("F1")] = "f1.wav";  // outside the rows: the last press line
    presses[KeyCodeFromName("A")] = "a.wav";
    KeySoundTable releases;
    releases[KeyCodeFromName("CLEAR")] = "c-up.wav";
    releases[KeyCodeFromName("SHIFT")] = "s-up.wav";
    releases[KeyCodeFromName("A")] = "a-up.wav";
    EXPECT_EQ(FormatSchemeText(presses, &releases),
              "A=a.wav\r\nF1=f1.wav\r\nA.UP=a-up.wav\r\nSHIFT.UP=s-up.wav\r\n"
              "CLEAR.UP=c-up.wav\r\n");
    const KeySoundTable none;
    EXPECT_EQ(FormatSchemeText(presses, &none), FormatSchemeText(presses))
        << "without release sounds, the text of the presses alone";
}

TEST(SchemeWriter, WrittenReleasesReadBackToTheSameTables) {
    const std::string texts[] = {
        "A=a.wav A.UP=a-up.wav",
        "CHARS.UP=c.wav Q.UP=q.wav DIGITS.UP=d.wav F3.UP=f.wav",
        "CHARS=k.wav CHARS.UP=u.wav",  // the nameless keys' release sounds need CHARS.UP first
        "chars.up=one.wav CHARS.UP=two.wav shift.up=s.wav NUMLOCK.UP=n.wav .UP=x A.UPX=y",
    };
    for (const std::string& text : texts) {
        KeySoundTable presses;
        KeySoundTable releases;
        ApplySchemeText(text.data(), text.size(), presses, &releases);
        const std::string written = FormatSchemeText(presses, &releases);
        KeySoundTable rereadPresses;
        KeySoundTable rereadReleases;
        ApplySchemeText(written.data(), written.size(), rereadPresses, &rereadReleases);
        EXPECT_EQ(rereadPresses, presses) << text << "\nwritten as\n" << written;
        EXPECT_EQ(rereadReleases, releases) << text << "\nwritten as\n" << written;
    }
}

// The editor saves what it does not show: the buttons' lines follow the rows, by code.
TEST(SchemeWriter, MouseButtonLinesReadBack) {
    const std::string text = "XBUTTON2=x.wav A=a.wav LBUTTON=l.wav LBUTTON.UP=lu.wav F1=f.wav";
    KeySoundTable presses;
    KeySoundTable releases;
    ApplySchemeText(text.data(), text.size(), presses, &releases);
    const std::string written = FormatSchemeText(presses, &releases);
    EXPECT_EQ(written,
              "A=a.wav\r\nLBUTTON=l.wav\r\nXBUTTON2=x.wav\r\nF1=f.wav\r\nLBUTTON.UP=lu.wav\r\n");
    KeySoundTable rereadPresses;
    KeySoundTable rereadReleases;
    ApplySchemeText(written.data(), written.size(), rereadPresses, &rereadReleases);
    EXPECT_EQ(rereadPresses, presses);
    EXPECT_EQ(rereadReleases, releases);
}

TEST_F(SchemeFolder, WrittenFileReadsBack) {
    KeySoundTable table;
    for (size_t row = 0; row < EditableKeyNames.size(); ++row) {
        if (row != 3) table[KeyCodeFromName(EditableKeyNames[row])] = "k" + std::to_string(row) + ".wav";
    }
    ASSERT_TRUE(WriteSchemeFile(FolderWithSeparator() + "Scheme.txt", table));

    KeySoundTable read;
    ASSERT_TRUE(ReadSchemeFile(FolderWithSeparator(), read));
    EXPECT_EQ(read, table);
    std::ifstream in(folder_ / "Scheme.txt", std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), {});
    // Only the wiring: the form of the text is checked by OneLinePerRowWithAFileInListOrder.
    EXPECT_EQ(written, FormatSchemeText(table));
}

TEST_F(SchemeFolder, WriteIntoMissingFolderFails) {
    EXPECT_FALSE(WriteSchemeFile(FolderWithSeparator() + "missing/Scheme.txt", KeySoundTable()));
}

}  // namespace
