#include "schemes/SoundSchemesList.h"

#include "app/ProgramPaths.h"
#include "app/ProgramPaths_win.h"
#include "app/Settings.h"
#include "app/Settings_win.h"
#include "app/Trace.h"
#include "audio/WavePlayer.h"
#include "schemes/KeyNames.h"
#include "schemes/MouseButtonNames.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

namespace {

constexpr char kSchemesFolderName[] = "Schemes\\";
// "Scheme.txt" and "Scheme.ini" alike.
constexpr size_t kSchemeFileNameChars = 10;

// Every record of this unit tests the process-wide cached switch.
void Trace(const char* operation, int line) {
    TracePair(IsTraceOn(), kTraceSourceSchemes, operation, line);
}

// The scheme folder's path of a table's entry for keyCode into out (see SoundPathOf).
bool PathOfEntry(const char* schemesFolder, const char* schemeName, const KeySoundTable& table,
                 unsigned keyCode, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    // Only ReadFromConfig fills the tables, and only once it holds the scheme's name.
    if (keyCode > kMaxKeyCode || table[keyCode].empty()) return false;
    const int written = std::snprintf(out, outSize, "%s%s\\%s", schemesFolder, schemeName,
                                      table[keyCode].c_str());
    if (written < 0 || static_cast<size_t>(written) >= outSize ||
        static_cast<size_t>(written) > kMaxSchemePathChars) {
        out[0] = '\0';
        return false;
    }
    return true;
}

}  // namespace

void PlaySoundFile(const char* path, int volume, int filter) {
    try {
        // A negative volume reads as a large unsigned one, which skips the volume step.
        WavePlayer::Wave(path).play(static_cast<unsigned>(volume), filter, true);
    } catch (...) {
        // Out of memory or a malformed header: this key stays silent, the program runs on.
        Trace("SoundSchemesList::PlayNS", 176);
    }
}

bool BuildSchemesFolder(const char* programPath, char* out, size_t outSize) {
    // Without a folder the result would be relative to whatever the current folder is.
    if (ProgramFolderLength(programPath) == 0) {
        if (outSize > 0) out[0] = '\0';
        return false;
    }
    return BuildSiblingPath(programPath, kSchemesFolderName, out, outSize);
}

SoundSchemesList::SoundSchemesList() {
    Trace("SoundSchemesList::SoundSchemesList", 24);
    Init();
}

SoundSchemesList::~SoundSchemesList() { Trace("SoundSchemesList::~SoundSchemesList", 314); }

// A program path that does not fit leaves schemesFolder empty, and with it every scheme silent:
// a shortened folder would be a different one, and an empty one would be relative.
void SoundSchemesList::Init() {
    Trace("SoundSchemesList::Init", 39);
    char programPath[MAX_PATH];
    if (!ReadProgramPath(programPath, sizeof(programPath)) ||
        !BuildSchemesFolder(programPath, schemesFolder, sizeof(schemesFolder))) {
        schemesFolder[0] = '\0';
        return;
    }
    WriteSettingText(kSettingsKey, kSchemesPathValueName, schemesFolder);
}

void SoundSchemesList::ReadFromConfig(const char* name) {
    Trace("SoundSchemesList::ReadFromConfig", 57);
    // The constructor's table is still empty; any later scheme starts from an empty one too.
    if (readOnce) {
        keySounds.fill(std::string());
        keyReleaseSounds.fill(std::string());
    }
    readOnce = true;
    schemeName[0] = '\0';
    if (name == nullptr || schemesFolder[0] == '\0') return;
    const std::string schemeFolder = std::string(schemesFolder) + name + "\\";
    if (schemeFolder.size() + kSchemeFileNameChars > kMaxSchemePathChars) return;
    if (!JoinWithinBuffer(schemeName, sizeof(schemeName), name, "")) return;
    // A scheme without a readable scheme file keeps its name and has no sounds.
    ReadSchemeFile(schemeFolder, keySounds, &keyReleaseSounds);
}

unsigned SoundSchemesList::KeyCodeFromName(const char* name) { return ::KeyCodeFromName(name); }

bool SoundSchemesList::NamesMouseSound() const {
    for (unsigned char code : kMouseButtonCodes) {
        if (!keySounds[code].empty() || !keyReleaseSounds[code].empty()) return true;
    }
    return false;
}

bool SoundSchemesList::SoundPathOf(unsigned keyCode, char* out, size_t outSize) const {
    return PathOfEntry(schemesFolder, schemeName, keySounds, keyCode, out, outSize);
}

bool SoundSchemesList::ReleaseSoundPathOf(unsigned keyCode, char* out, size_t outSize) const {
    return PathOfEntry(schemesFolder, schemeName, keyReleaseSounds, keyCode, out, outSize);
}

void SoundSchemesList::PlayNS(unsigned keyCode, int muted, int volume, int filter) {
    if (muted) return;
    Trace("SoundSchemesList::PlayNS", 158);
    char path[kMaxSchemePathChars + 1];
    if (!SoundPathOf(keyCode, path, sizeof(path))) return;
    PlaySoundFile(path, volume, filter);
}

void SoundSchemesList::PlayReleaseNS(unsigned keyCode, int muted, int volume) {
    if (muted) return;
    char path[kMaxSchemePathChars + 1];
    if (!ReleaseSoundPathOf(keyCode, path, sizeof(path))) return;
    Trace("SoundSchemesList::PlayReleaseNS", 190);
    PlaySoundFile(path, volume, FilterNone);
}
