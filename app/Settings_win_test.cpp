#include "app/Settings_win.h"

#include "app/Autostart_win.h"
#include "app/QuietPrograms.h"
#include "app/QuietSettings_win.h"
#include "tests/RegistryTestValues_win.h"
#include "app/SettingNumbers.h"
#include "app/Trace.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>
#include <functional>
#include <cstdio>
#include <string>
#include <vector>

namespace {

TEST_F(RegistrySettings, NumberTextsReadByTheirRules) {
    struct Case {
        const char* stored;
        int expected;
    };
    const Case cases[] = {
        {"abc", 0},                   // text without digits is 0, not the default
        {"", 100},                    // empty text takes the default
        {"  -7x", -7},
        {"1234567890123456789012345678901", INT_MAX},  // 31 characters still fit
        {"12345678901234567890123456789012", 100},     // 32 characters do not: default
    };
    for (const Case& c : cases) {
        SetText(kTestKey, "Valume", c.stored);
        EXPECT_EQ(ReadSettingInt(kTestKey, "Valume", 100), c.expected) << '"' << c.stored << '"';
    }
    EXPECT_EQ(ReadSettingInt(kTestKey, "Filter", 100), 100) << "a missing value takes the default";
}

TEST_F(RegistrySettings, OtherValueTypesReadAsRawBytes) {
    struct Case {
        DWORD stored;
        int expected;
    };
    const Case cases[] = {
        {0x3533, 35},          // bytes '3' '5' 0 0
        {5, 0},                // byte 5: not empty, no digits
        {0x34333231, 1234},    // '1' '2' '3' '4' without a terminating zero
        {0, 19},               // a zero first byte reads as the empty text
    };
    for (const Case& c : cases) {
        SetDword(kTestKey, "Scheme", c.stored);
        EXPECT_EQ(ReadSettingInt(kTestKey, "Scheme", 19), c.expected) << std::hex << c.stored;
    }
}

TEST_F(RegistrySettings, TextReadsCreateTheKeyAndRefuseWhatDoesNotFit) {
    char buffer[8] = "junk";
    ReadSettingText(HKEY_CURRENT_USER, kTestKey, "Language", buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
    EXPECT_TRUE(KeyExists(kTestKey));

    SetText(kTestKey, "Language", "1234567");
    ReadSettingText(HKEY_CURRENT_USER, kTestKey, "Language", buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "1234567");
    SetText(kTestKey, "Language", "12345678");
    ReadSettingText(HKEY_CURRENT_USER, kTestKey, "Language", buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
    // Eight bytes of binary data with no zero among them fill the buffer without an end.
    SetRaw(kTestKey, "Language", REG_BINARY, "ABCDEFGH", 8);
    ReadSettingText(HKEY_CURRENT_USER, kTestKey, "Language", buffer, sizeof(buffer));
    EXPECT_STREQ(buffer, "");
}

// The forms a hand-edited or hostile registry can give a value. Each is built from the text
// the value would normally hold.
enum class Form { Text, Binary, MultiSz, Dword, Empty, FullBuffer, Megabyte };

struct Stored {
    DWORD type;
    std::string bytes;
};

Stored StoredAs(Form form, const std::string& text, size_t bufferSize) {
    switch (form) {
        case Form::Text: return {REG_SZ, text + '\0'};
        case Form::Binary: return {REG_BINARY, text};  // no terminating zero
        case Form::MultiSz: return {REG_MULTI_SZ, text + '\0' + "second" + '\0' + '\0'};
        case Form::Dword: return {REG_DWORD, (text + std::string(4, '\0')).substr(0, 4)};
        case Form::Empty: return {REG_SZ, ""};  // not even a terminating zero
        case Form::FullBuffer: return {REG_BINARY, std::string(bufferSize, '7')};
        case Form::Megabyte: return {REG_SZ, std::string(1 << 20, '7') + '\0'};
    }
    return {};
}

// Every value the program reads, each with the reader the program uses and the text it
// normally holds; what each form reads as, shown as text.
TEST_F(RegistrySettings, EveryValueInEveryHostileFormReadsSafely) {
    const std::string command = "\"C:\\Apps\\Launcher.exe\"";
    const auto number = [](const char* name, int defaultValue) {
        return [name, defaultValue] {
            return std::to_string(ReadSettingInt(kTestKey, name, defaultValue));
        };
    };
    const auto language = [] {
        char text[64];
        std::memset(text, '#', sizeof(text));
        ReadSettingText(HKEY_CURRENT_USER, kTestKey, "Language", text, sizeof(text));
        // A text that ran to the end of the buffer would show here as a missing terminator.
        return std::memchr(text, '\0', sizeof(text)) ? std::string(text) : "<unterminated>";
    };
    const auto autostart = [] {
        return std::string(IsAutostartSetFor(kTestRunKey, "C:\\Apps\\Tapvox.exe") ? "set"
                                                                                  : "unset");
    };
    const auto tutorial = [] {
        HKEY key;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kTestKey, 0, KEY_QUERY_VALUE, &key) != 0) {
            return std::string("no key");
        }
        const DWORD value = ReadSettingDword(key, "ShowTutorialOnRun");
        RegCloseKey(key);
        return std::to_string(value);
    };
    struct Case {
        const char* name;
        const char* subKey;
        std::string text;
        size_t bufferSize;  // of the read, for the form that fills it exactly
        std::function<std::string()> read;
        // Text, Binary, MultiSz, Dword, Empty, FullBuffer, Megabyte
        std::array<std::string, 7> expected;
    };
    const std::array<std::string, 7> numberRead42 = {"42", "42", "42", "42", "D", "D", "D"};
    const auto numberCase = [&](const char* name, int defaultValue) {
        std::array<std::string, 7> expected = numberRead42;
        for (std::string& e : expected) {
            if (e == "D") e = std::to_string(defaultValue);
        }
        return Case{name, kTestKey, "42", kSettingNumberBufferSize, number(name, defaultValue),
                    expected};
    };
    const Case cases[] = {
        numberCase("Valume", 100), numberCase("Filter", 100), numberCase("Scheme", 19),
        numberCase("LogFile", 0), numberCase("showcmd", 1), numberCase("max.x", -1),
        numberCase("min.y", -1), numberCase("left", 350),
        {"Language", kTestKey, "Ru", 64, language, {"Ru", "Ru", "Ru", "Ru", "", "", ""}},
        {"Tapvox", kTestRunKey, command, MAX_PATH, autostart,
         {"set", "set", "set", "unset", "unset", "unset", "unset"}},
        // The type is not tested: the text "0" is the non-zero byte '0'. A value longer than
        // four bytes does not fit and reads as 0.
        {"ShowTutorialOnRun", kTestKey, "0", 4, tutorial,
         {"48", "48", "0", "48", "0", "926365495", "0"}},
    };
    const auto quietSwitch = [] {
        return std::string(ReadQuietSettings(kTestKey).fullScreen ? "on" : "off");
    };
    const auto quietPrograms = [] {
        std::string names;
        for (const std::string& name : ReadQuietSettings(kTestKey).programs) names += name + ";";
        return names;
    };
    const std::string programs = "game.exe|vlc.exe";
    const Case quietCases[] = {
        // Only zero bytes that fit a DWORD switch the rule off; an empty value or one longer
        // than four bytes keeps the default.
        {"QuietFullScreen", kTestKey, std::string(1, '\0'), 4, quietSwitch,
         {"off", "off", "on", "off", "on", "on", "on"}},
        {"QuietPrograms", kTestKey, programs, kQuietProgramsBufferSize, quietPrograms,
         {"game.exe;vlc.exe;", "game.exe;vlc.exe;", "game.exe;vlc.exe;", "game;", "", "", ""}},
    };
    const Form forms[] = {Form::Text,  Form::Binary,     Form::MultiSz, Form::Dword,
                          Form::Empty, Form::FullBuffer, Form::Megabyte};
    std::vector<const Case*> every;
    for (const Case& c : cases) every.push_back(&c);
    for (const Case& c : quietCases) every.push_back(&c);
    for (const Case* each : every) {
        const Case& c = *each;
        for (size_t f = 0; f < std::size(forms); ++f) {
            const Stored stored = StoredAs(forms[f], c.text, c.bufferSize);
            SetRaw(c.subKey, c.name, stored.type, stored.bytes.data(),
                   static_cast<DWORD>(stored.bytes.size()));
            EXPECT_EQ(c.read(), c.expected[f]) << c.name << " in form " << f;
        }
    }
}

TEST_F(RegistrySettings, NumbersAreStoredAsDecimalText) {
    EXPECT_EQ(WriteSettingInt(kTestKey, "Valume", -1), ERROR_SUCCESS);
    EXPECT_EQ(StoredValue(kTestKey, "Valume"), std::make_pair(DWORD{REG_SZ}, std::string("-1")));
    EXPECT_EQ(WriteSettingInt(kTestKey, "Valume", 100), ERROR_SUCCESS);
    EXPECT_EQ(ReadSettingInt(kTestKey, "Valume", 0), 100);
    EXPECT_EQ(WriteSettingText(kTestKey, "SchemesPath", "C:\\Apps\\Schemes\\"), ERROR_SUCCESS);
    EXPECT_EQ(StoredValue(kTestKey, "SchemesPath").second, "C:\\Apps\\Schemes\\");
}

TEST_F(RegistrySettings, QuietSettingsReadBackAsWritten) {
    const QuietSettings missing = ReadQuietSettings(kTestKey);
    EXPECT_TRUE(missing.fullScreen && missing.passwords && missing.programs.empty())
        << "missing values take the defaults";
    const QuietSettings written[] = {
        {false, false, {}},
        {true, false, {"game.exe", "POWERPNT.EXE"}},
        {false, true, {"vlc.exe"}},
    };
    for (const QuietSettings& settings : written) {
        EXPECT_EQ(WriteQuietSettings(kTestKey, settings), ERROR_SUCCESS);
        const QuietSettings read = ReadQuietSettings(kTestKey);
        EXPECT_EQ(read.fullScreen, settings.fullScreen);
        EXPECT_EQ(read.passwords, settings.passwords);
        EXPECT_EQ(read.programs, settings.programs);
    }
    EXPECT_EQ(StoredValue(kTestKey, "QuietPasswords"),
              std::make_pair(DWORD{REG_DWORD}, std::string("1")));
    EXPECT_EQ(StoredValue(kTestKey, "QuietPrograms"),
              std::make_pair(DWORD{REG_SZ}, std::string("vlc.exe")));
}

TEST_F(RegistrySettings, TraceSwitchIsReadOnceAndChangedOnlyThroughSet) {
    SetText(kTestKey, "LogFile", "1");
    TraceSwitch traceSwitch(kTestKey);
    EXPECT_EQ(traceSwitch.Get(), 1);
    SetText(kTestKey, "LogFile", "0");
    EXPECT_EQ(traceSwitch.Get(), 1) << "a change in the registry waits for the next start";
    traceSwitch.Set(2);
    EXPECT_EQ(traceSwitch.Get(), 2);
    EXPECT_EQ(StoredValue(kTestKey, "LogFile").second, "2");
    EXPECT_EQ(TraceSwitch(kTestRoot).Get(), 0) << "missing LogFile is 0";
}

TEST_F(RegistrySettings, EveryStoredTraceSwitchValueIsReadOnlyOnce) {
    const struct {
        const char* stored;
        int value;
    } cases[] = {{"-1", -1}, {"0", 0}, {"1", 1}, {"-2147483648", INT_MIN}, {"abc", 0}};
    for (const auto& c : cases) {
        SetText(kTestKey, "LogFile", c.stored);
        TraceSwitch traceSwitch(kTestKey);
        EXPECT_EQ(traceSwitch.Get(), c.value) << c.stored;
        SetText(kTestKey, "LogFile", "5");
        EXPECT_EQ(traceSwitch.Get(), c.value) << c.stored << " read again";
    }
    // A value set before any read is not replaced by the stored one.
    TraceSwitch setFirst(kTestKey);
    setFirst.Set(-1);
    SetText(kTestKey, "LogFile", "5");
    EXPECT_EQ(setFirst.Get(), -1);
}

// The trace file is shared with other processes; lines end as text files do here.
TEST(TraceFileOnWindows, PairsGoToTheFixedFileWithCrLf) {
    const bool folderExisted = GetFileAttributesA("c:\\tmp") != INVALID_FILE_ATTRIBUTES;
    if (!folderExisted) {
        ASSERT_TRUE(CreateDirectoryA("c:\\tmp", nullptr));
    }
    const bool fileExisted = GetFileAttributesA(kTraceFilePath) != INVALID_FILE_ATTRIBUTES;

    // Another process holding the file open for writing does not stop the trace.
    HANDLE other = CreateFileA(kTraceFilePath, GENERIC_READ | GENERIC_WRITE,
                               FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const DWORD sizeBefore = GetFileSize(other, nullptr);
    TracePair(1, kTraceSourceCApp, "CApp::OnPowerBroadcast", 745);
    const std::string expected =
        "Entering CApp::OnPowerBroadcast() - (CApp.cpp:745)\r\n"
        "Leaving  CApp::OnPowerBroadcast() - (CApp.cpp)\r\n";
    std::string tail(expected.size(), '\0');
    DWORD read = 0;
    SetFilePointer(other, static_cast<LONG>(sizeBefore), nullptr, FILE_BEGIN);
    ReadFile(other, &tail[0], static_cast<DWORD>(tail.size()), &read, nullptr);
    CloseHandle(other);
    EXPECT_EQ(tail.substr(0, read), expected);

    if (!fileExisted) DeleteFileA(kTraceFilePath);
    if (!folderExisted) RemoveDirectoryA("c:\\tmp");
}

TEST(TraceFileOnWindows, SwitchValuesFromTheRegistry) {
    char tempFolder[MAX_PATH];
    ASSERT_NE(GetTempPathA(sizeof(tempFolder), tempFolder), 0u);
    const std::string path = std::string(tempFolder) + "tapvox-switch-log.txt";
    DeleteFileA(path.c_str());
    const struct {
        const char* stored;
        bool writes;
    } cases[] = {{"0", false}, {"2", false}, {"abc", false}, {"1", true}, {" 1", true}};
    for (const auto& c : cases) {
        SetText(kTestKey, "LogFile", c.stored);
        TraceSwitch traceSwitch(kTestKey);
        TracePair(traceSwitch.Get(), kTraceSourceCApp, "CApp::Init", 208, path.c_str());
        EXPECT_EQ(GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES, c.writes)
            << c.stored;
        DeleteFileA(path.c_str());
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kTestRoot);
}

}  // namespace
