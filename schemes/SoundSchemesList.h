#pragma once
// The scheme set: where the schemes live, which scheme is loaded and which sound file each key
// code plays. It turns a key code into a file path and hands that file to the wave player.

#include "schemes/SchemeFile.h"

#include <cstddef>

// A longer scheme name is not loaded: cutting it could make it another scheme's name.
constexpr size_t kMaxSchemeNameChars = 24;
constexpr unsigned kMaxKeyCode = 255;

// The program's folder (ProgramFolder) + "Schemes\" into out; false, with out empty, when the
// path has no folder part or the result would not fit.
bool BuildSchemesFolder(const char* programPath, char* out, size_t outSize);

// Plays a sound file asynchronously through the engine in use, at volume and filtered; a file
// that cannot be played, or memory that runs out, leaves it silent.
void PlaySoundFile(const char* path, int volume, int filter);

class SoundSchemesList {
public:
    SoundSchemesList();
    ~SoundSchemesList();
    SoundSchemesList(const SoundSchemesList&) = delete;
    SoundSchemesList& operator=(const SoundSchemesList&) = delete;

    // Derives schemesFolder from the running program and stores it as "SchemesPath".
    void Init();
    // Makes name the loaded scheme, starting from an empty table. A name or scheme path beyond
    // the limits loads no scheme at all: the set then holds no name and no sounds.
    void ReadFromConfig(const char* name);
    static unsigned KeyCodeFromName(const char* name);
    // Plays the loaded scheme's sound for keyCode asynchronously; silent when muted, for codes
    // above 255, for keys without a sound and for sound paths beyond 255 characters.
    void PlayNS(unsigned keyCode, int muted, int volume, int filter);
    // The same for the sound of keyCode's release, always unfiltered: the press's filter
    // follows the character typed, which a release does not carry. A key without a release
    // sound costs one look-up and leaves no trace.
    void PlayReleaseNS(unsigned keyCode, int muted, int volume);

    // True when the loaded scheme gives a mouse button a sound, pressed or released: only then
    // are clicks worth hooking.
    bool NamesMouseSound() const;

    // The full path of keyCode's sound, or of its release sound, into out; false, with out
    // empty, when the key has no such sound or the path would not fit into out or into 255
    // characters.
    bool SoundPathOf(unsigned keyCode, char* out, size_t outSize) const;
    bool ReleaseSoundPathOf(unsigned keyCode, char* out, size_t outSize) const;

    char schemeName[kMaxSchemeNameChars + 1] = {};
    KeySoundTable keySounds;
    KeySoundTable keyReleaseSounds;
    char schemesFolder[kMaxSchemePathChars + 1] = {};
    bool readOnce = false;
};
