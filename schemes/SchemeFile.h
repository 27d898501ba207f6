#pragma once
// Scheme files: the reader that turns a scheme file's words into the key-to-sound table, the
// choice between "Scheme.txt" and "Scheme.ini", and the writer's form of the file.

#include "schemes/KeyNames.h"

#include <array>
#include <cstddef>
#include <string>

// Sound file name, relative to the scheme folder, for each key code; empty means silent.
// Entry 0 (no key) is never set.
using KeySoundTable = std::array<std::string, 256>;

// The sound file name of each row of EditableKeyNames, by row; empty rows have no sound.
using SchemeRowFiles = std::array<std::string, kEditableKeyCount>;

// A longer word is skipped whole; a longer scheme file path is not opened.
constexpr size_t kMaxSchemeWordChars = 255;
constexpr size_t kMaxSchemePathChars = 255;

// Applies the words of scheme-file text to the table, in text order. A 0x1A byte ends the
// text as end-of-file does in text mode, and so does a zero byte (as in a UTF-16 file).
void ApplySchemeText(const char* text, size_t size, KeySoundTable& table);

// The scheme file of a folder path that ends with a separator: "Scheme.txt" when it is a
// file, else "Scheme.ini" when that is; empty when neither is.
std::string ChooseSchemeFile(const std::string& schemeFolderWithSeparator);

// Clears the table and reads the folder's scheme file into it. False only when no scheme
// file could be opened; the table is then empty.
bool ReadSchemeFile(const std::string& schemeFolderWithSeparator, KeySoundTable& table);

// Text that the reader turns back into the same table: "NAME=file\r\n" for every editable key
// with a sound, in row order, then for every other named key with a sound, by code. The grave
// accent and backslash keys have no name; their sound comes from a "CHARS=" line written first,
// which the letters' own lines then override.
std::string FormatSchemeText(const KeySoundTable& table);

// Creates or empties the file at path and writes FormatSchemeText into it.
bool WriteSchemeFile(const std::string& path, const KeySoundTable& table);
