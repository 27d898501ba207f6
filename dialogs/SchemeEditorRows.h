#pragma once
// The scheme editor's rows: what each editable key shows for a scheme's table, the line the key
// list shows for a row, and how long the editor's texts may be.

#include "schemes/SchemeFile.h"

#include <cstddef>
#include <string>

// The name box and a chosen sound's path are held in at most this many characters.
constexpr size_t kMaxSchemeTextChars = 255;

// One line of the editor's key list: the key name, " - " and the row's file (maybe empty).
std::string KeyListLine(const char* keyName, const std::string& file);

// The rows of the editor for a scheme's key-to-sound table: each editable key's sound.
SchemeRowFiles RowFilesFromTable(const KeySoundTable& table);

// The file a row sounds when played: the file chosen for it during this opening, else its file
// in the opened scheme's folder (schemesFolder ends in a backslash); empty when the row has no
// sound, the scheme was never opened from disk, or the path would pass 255 characters, the
// most the sound path holds when a key plays.
std::string RowSoundPath(const std::string& schemesFolder, const std::string& openedName,
                         const std::string& rowFile, const std::string& rowSource);
