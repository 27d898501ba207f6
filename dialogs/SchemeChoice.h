#pragma once
// The platform-neutral rules of the scheme dialogs: which scheme Manage Schemes hands to the
// editor, the editor's list lines, and what saving an edited scheme copies and writes.

#include "schemes/SchemeFile.h"

#include <array>
#include <string>
#include <utility>
#include <vector>

// The dialog remembers the names at the list's first 25 positions; later positions have none.
constexpr size_t kRememberedSchemeNames = 25;
using RememberedSchemeNames = std::array<std::string, kRememberedSchemeNames>;

constexpr char kNewSchemeName[] = "NewScheme";

struct SchemeToOpen {
    std::string name;
    bool isNew;
};

// Edit with a remembered position selected opens that scheme; Add, Edit without a selection
// and Edit at a position past the remembered ones all open a new scheme named "NewScheme".
SchemeToOpen ChooseSchemeToOpen(bool editPressed, int selection,
                                const RememberedSchemeNames& names);

// Names, sound files and paths are held in at most this many characters.
constexpr size_t kMaxSchemeTextChars = 255;

// One line of the editor's key list: the key name, " - " and the row's file (maybe empty).
std::string KeyListLine(const char* keyName, const std::string& file);

// The rows of the editor for a scheme's key-to-sound table: each editable key's sound.
SchemeRowFiles RowFilesFromTable(const KeySoundTable& table);

struct SchemeSavePlan {
    std::string folder;                                       // ends with a backslash
    std::vector<std::pair<std::string, std::string>> copies;  // source, target
    std::string schemeFile;
};

// What saving writes: the scheme's folder, a copy of each sound chosen in this pass into it,
// and its "Scheme.txt". False when the schemes folder is empty (the scheme set leaves it so
// when the program's path is too long) or the scheme file path would exceed 255 characters;
// a copy whose target would is left out.
bool PlanSchemeSave(const std::string& schemesFolder, const std::string& name,
                    const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources,
                    SchemeSavePlan& plan);
