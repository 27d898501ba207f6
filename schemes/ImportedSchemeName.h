#pragma once
// The names an imported pack gets in the schemes folder: the scheme folder's name, made from the
// pack's own name, and the names of the sound files inside it.

#include "schemes/AnsiText.h"

#include <functional>
#include <string>

// A scheme name made from a pack's name (ANSI text in the code page that isLeadByte
// describes): characters a folder name cannot hold become "_", leading full stops and blanks
// and trailing ones go, and it is cut to the length the scheme set loads. When taken(name)
// says a folder of that name exists, " 2", " 3"... follow the name, cut shorter to make room.
// Empty when no free name is found.
std::string ImportedSchemeName(const std::string& packName, LeadBytePredicate isLeadByte,
                               const std::function<bool(const std::string&)>& taken);

// The file an imported sound is written to: the key's name ("A.wav", "SPACE-up.wav" for a
// release), or "KEY192.wav" for a key the key table does not name. A scheme value holds no
// blank, so the pack's own file names are not used.
std::string ImportedSoundFileName(unsigned keyCode, bool release);
