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

// A release word names a key or a group with this ending ("A.UP=a-up.wav", "CHARS.UP=up.wav")
// and sets the sound of that key's release. No key name contains a full stop, so a reader that
// knows no release words skips them as names it does not know.
inline constexpr char kReleaseWordSuffix[] = ".UP";

// Applies the words of scheme-file text to the tables, in text order: press words to table,
// mouse button words ("LBUTTON=click.wav", schemes/MouseButtonNames.h) as their buttons' codes,
// release words to releases (skipped when it is null). A 0x1A byte ends the text as
// end-of-file does in text mode, and so does a zero byte (as in a UTF-16 file).
void ApplySchemeText(const char* text, size_t size, KeySoundTable& table,
                     KeySoundTable* releases = nullptr);

// The scheme file of a folder path that ends with a separator: "Scheme.txt" when it is a
// file, else "Scheme.ini" when that is; empty when neither is.
std::string ChooseSchemeFile(const std::string& schemeFolderWithSeparator);

// Clears the tables and reads the folder's scheme file into them. False only when no scheme
// file could be opened; the tables are then empty.
bool ReadSchemeFile(const std::string& schemeFolderWithSeparator, KeySoundTable& table,
                    KeySoundTable* releases = nullptr);

// Text that the reader turns back into the same table: "NAME=file\r\n" for every editable key
// with a sound, in row order, then for every other named key or mouse button with a sound, by
// code. The grave
// accent and backslash keys have no name; their sound comes from a "CHARS=" line written first,
// which the letters' own lines then override. The release sounds follow in the same order and
// form, each name ending in kReleaseWordSuffix; without any, the text is the presses' alone.
std::string FormatSchemeText(const KeySoundTable& table,
                             const KeySoundTable* releases = nullptr);

// Creates or empties the file at path and writes FormatSchemeText into it.
bool WriteSchemeFile(const std::string& path, const KeySoundTable& table,
                     const KeySoundTable* releases = nullptr);
