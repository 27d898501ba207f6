#pragma once
// The import of a sound pack (a folder's config.json or a .zip holding one) as a new scheme
// folder under the schemes folder: all of it, or nothing and the reason.

#include "audio/PackAudio.h"
#include "schemes/AnsiText.h"

#include <cstddef>
#include <functional>
#include <string>

// Why an import failed; each has a message of its own.
enum class PackImportError {
    None,
    Unreadable,        // a file of the pack cannot be opened or read
    TooLarge,          // a file, or what the .zip unpacks to, is over its limit
    UnsafeName,        // a file name leads outside the pack
    BadArchive,        // the .zip is damaged or of a kind not read
    NoConfig,          // the .zip holds no config.json, or several
    BadConfig,         // config.json is not a pack's config
    BadSlice,          // a slice lies outside its sound, or is absurd
    AudioUnsupported,  // an audio file of a format or encoding not read
    AudioCorrupt,      // an audio file that does not decode
    AudioTooLong,      // an audio file longer than any pack's
    NoSounds,          // no sound for any key Tapvox knows
    NoFreeName,        // no scheme name is free, or the paths would be too long
    WriteFailed,       // the scheme folder could not be written
};

struct PackImportResult {
    PackImportError error = PackImportError::None;
    std::string file;        // the file at fault
    std::string detail;      // what is wrong with it, in English
    std::string schemeName;  // the new scheme's folder name on success
    size_t skippedKeys = 0;  // pack keys with a sound but no Tapvox key
};

struct PackImportTools {
    Mp3Decoder mp3;
    LeadBytePredicate isLeadByte = nullptr;
    // The pack's name (UTF-8 in its config) as ANSI text of the code page isLeadByte describes.
    std::function<std::string(const std::string&)> nameToAnsi;
};

// packPath names a config.json or a .zip; schemesFolder ends with the path separator.
PackImportResult ImportPack(const std::string& packPath, const std::string& schemesFolder,
                            const PackImportTools& tools);
