#pragma once
// Where the settings live (under the current user's hive), the names of their values and the
// defaults of the numbers among them.

constexpr char kSettingsKey[] = "Software\\Quillmark\\Tapvox";
constexpr char kInfoWindowKey[] = "Software\\Quillmark\\Tapvox\\DlgMain";
constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr char kAutostartValueName[] = "Tapvox";
// "Valume" is the stored name; renaming it would lose every user's volume.
constexpr char kVolumeValueName[] = "Valume";
constexpr char kFilterValueName[] = "Filter";
constexpr char kSchemeValueName[] = "Scheme";
constexpr char kSchemesPathValueName[] = "SchemesPath";
constexpr char kLogFileValueName[] = "LogFile";
constexpr char kLanguageValueName[] = "Language";
constexpr char kShowTutorialValueName[] = "ShowTutorialOnRun";
// REG_DWORD: the hotkey control's word for the mute hotkey; 0 is none.
constexpr char kMuteHotkeyValueName[] = "MuteHotkey";
// 1: the overlap engine plays the sounds; 0 or absent: PlaySoundA, one sound at a time.
constexpr char kOverlapValueName[] = "Overlap";
// The quiet rules: REG_DWORD switches (non-zero: keys are silent while the program in front runs
// full screen, or while a password box has the focus) and the programs in which keys are silent,
// as one text of file names separated by '|', which a file name cannot hold.
constexpr char kQuietFullScreenValueName[] = "QuietFullScreen";
constexpr char kQuietPasswordsValueName[] = "QuietPasswords";
constexpr char kQuietProgramsValueName[] = "QuietPrograms";

constexpr int kDefaultVolume = 100;
constexpr int kDefaultFilter = 100;
constexpr int kDefaultScheme = 19;
constexpr int kDefaultLogFile = 0;
constexpr int kDefaultOverlap = 0;
constexpr unsigned kDefaultQuietFullScreen = 1;
constexpr unsigned kDefaultQuietPasswords = 1;
