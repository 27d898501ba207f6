#include "app/MuteHotkey_win.h"

#include "app/MuteHotkey.h"
#include "app/Settings.h"
#include "tests/RegistryTestValues_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr uint16_t kCtrlAltP = (kHotkeyControl | kHotkeyAlt) << 8 | 'P';

TEST_F(RegistrySettings, MuteHotkeyReadFromEveryStoredForm) {
    struct Case {
        const char* what;
        DWORD type;
        std::vector<BYTE> bytes;
        uint16_t expected;
    };
    const Case cases[] = {
        {"dword", REG_DWORD, {'P', 6, 0, 0}, kCtrlAltP},
        {"none", REG_DWORD, {0, 0, 0, 0}, kNoMuteHotkey},
        {"two bytes, binary", REG_BINARY, {'P', 6}, kCtrlAltP},
        {"empty", REG_BINARY, {}, kNoMuteHotkey},
        {"bare key", REG_DWORD, {'M', 0, 0, 0}, kDefaultMuteHotkey},
        {"high word set", REG_DWORD, {'P', 6, 1, 0}, kDefaultMuteHotkey},
        {"five bytes", REG_BINARY, {'P', 6, 0, 0, 0}, kDefaultMuteHotkey},
        {"text digits", REG_SZ, {'1', '8', '7', '7', 0}, kDefaultMuteHotkey},
        {"a megabyte", REG_BINARY, std::vector<BYTE>(1 << 20, 6), kDefaultMuteHotkey},
    };
    EXPECT_EQ(ReadMuteHotkey(kTestKey), kDefaultMuteHotkey) << "no key";
    SetDword(kTestKey, "Other", 0);
    EXPECT_EQ(ReadMuteHotkey(kTestKey), kDefaultMuteHotkey) << "no value";
    for (const Case& c : cases) {
        SetRaw(kTestKey, kMuteHotkeyValueName, c.type, c.bytes.data(),
               static_cast<DWORD>(c.bytes.size()));
        EXPECT_EQ(ReadMuteHotkey(kTestKey), c.expected) << c.what;
    }
}

TEST_F(RegistrySettings, MuteHotkeyIsStoredAsADword) {
    for (uint16_t word : {kCtrlAltP, kNoMuteHotkey}) {
        ASSERT_EQ(WriteMuteHotkey(kTestKey, word), ERROR_SUCCESS);
        EXPECT_EQ(StoredValue(kTestKey, kMuteHotkeyValueName),
                  std::make_pair(DWORD{REG_DWORD}, std::to_string(word)));
        EXPECT_EQ(ReadMuteHotkey(kTestKey), word);
    }
}

struct MessageWindow {
    HWND handle = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  nullptr, nullptr);
    ~MessageWindow() { DestroyWindow(handle); }
};

// A chord held by one window is refused to another, which is how a chord taken by another
// program shows; none registers nothing and cannot be refused.
TEST(MuteHotkeyRegistration, SecondHolderIsRefusedAndNoneAlwaysSucceeds) {
    MessageWindow first, second;
    ASSERT_TRUE(first.handle && second.handle);
    const uint16_t chord = (kHotkeyControl | kHotkeyAlt | kHotkeyShift) << 8 | 0x7B;  // F12
    ASSERT_TRUE(RegisterMuteHotkey(first.handle, chord));
    EXPECT_FALSE(RegisterMuteHotkey(second.handle, chord));
    EXPECT_TRUE(RegisterMuteHotkey(second.handle, kNoMuteHotkey));
    UnregisterMuteHotkey(first.handle);
    EXPECT_TRUE(RegisterMuteHotkey(second.handle, chord)) << "free again once unregistered";
    UnregisterMuteHotkey(second.handle);
}

}  // namespace
