#include "app/QuietSettings_win.h"

#include "app/QuietPrograms.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "app/WinHandles.h"

#include <vector>

QuietSettings ReadQuietSettings() { return ReadQuietSettings(kSettingsKey); }

QuietSettings ReadQuietSettings(const char* subKey) {
    QuietSettings settings;
    std::vector<char> text(kQuietProgramsBufferSize);
    // Creates the key when missing, so the switches below can be read from it.
    ReadSettingText(HKEY_CURRENT_USER, subKey, kQuietProgramsValueName, text.data(),
                    static_cast<DWORD>(text.size()));
    settings.programs = ParseQuietPrograms(text.data());
    ScopedRegKey key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        key.Release();
        return settings;
    }
    settings.fullScreen =
        ReadSettingDword(key.Get(), kQuietFullScreenValueName, kDefaultQuietFullScreen) != 0;
    settings.passwords =
        ReadSettingDword(key.Get(), kQuietPasswordsValueName, kDefaultQuietPasswords) != 0;
    return settings;
}

long WriteQuietSettings(const QuietSettings& settings) {
    return WriteQuietSettings(kSettingsKey, settings);
}

long WriteQuietSettings(const char* subKey, const QuietSettings& settings) {
    const LONG results[] = {
        WriteSettingDword(subKey, kQuietFullScreenValueName, settings.fullScreen ? 1 : 0),
        WriteSettingDword(subKey, kQuietPasswordsValueName, settings.passwords ? 1 : 0),
        WriteSettingText(subKey, kQuietProgramsValueName,
                         FormatQuietPrograms(settings.programs).c_str()),
    };
    for (LONG result : results) {
        if (result != ERROR_SUCCESS) return result;
    }
    return ERROR_SUCCESS;
}
