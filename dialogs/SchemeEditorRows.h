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
