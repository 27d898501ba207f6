#pragma once
// The platform-neutral rules of the settings store: how a stored number text reads, how a number
// is written, the autostart command, and the clamps of a saved window placement.

#include <cstddef>
#include <string>

// Numbers are read into a buffer of this size, terminating zero included; a longer stored text
// does not fit, and the caller's default is used.
constexpr size_t kSettingNumberBufferSize = 32;

// The leading decimal number of text, read as the C library's atoi does: leading blanks and
// one sign allowed, reading stops at the first other character, no digits gives 0. Unlike
// atoi, a number beyond the int range saturates instead of being undefined.
int ParseSettingInt(const char* text);

// The value in decimal, "-" for negative numbers. False only when out is too small.
bool FormatSettingInt(int value, char* out, size_t outSize);

// The stored value of a number setting: the default for an empty text, else ParseSettingInt.
int SettingIntFromText(const char* text, int defaultValue);

// The folder part of a program path: everything up to and including its last '\' or ':'.
// Returns its length (0 when the path holds neither).
size_t ProgramFolderLength(const char* programPath);

// The folder part itself, for building paths beside the program.
std::string ProgramFolder(const char* programPath);

// The start-with-the-system command: a double quote, the program's folder, "Launcher.exe" and
// a closing double quote. False, with out empty, when the command does not fit into outSize
// bytes with its terminating zero.
bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize);

struct PlacementPoint {
    int x;
    int y;
};

struct PlacementRect {
    int left;
    int top;
    int right;
    int bottom;
};

// A window placement as the settings store reads it, before it becomes the platform's record.
struct PlacementValues {
    int showCommand;
    PlacementPoint minPosition;
    PlacementPoint maxPosition;
    PlacementRect normal;
};

// The rectangle of the preferred size centred on the screen, used for missing edges.
PlacementRect CentredPlacementRect(int screenWidth, int screenHeight, int width, int height);

// Keeps a restored window reachable: right and bottom at least 20, left and top at least 20
// pixels inside the full-screen area; a show command of 0 becomes 5 (show).
void ClampPlacement(PlacementValues& placement, int fullScreenWidth, int fullScreenHeight);

// Where the settings live (under the current user's hive) and the names of their values.
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

constexpr int kDefaultVolume = 100;
constexpr int kDefaultFilter = 100;
constexpr int kDefaultScheme = 19;
constexpr int kDefaultLogFile = 0;
