#pragma once
// What saving a scheme from the editor copies and writes, worked out before anything touches
// the disk.

#include "schemes/AnsiText.h"
#include "schemes/SchemeFile.h"

#include <string>
#include <utility>
#include <vector>

// What the editor hands to the save when it ends with OK.
struct SchemeEdit {
    std::string openedName;     // the scheme the editor read; empty for a new scheme
    KeySoundTable openedTable;  // every key's sound as read then, keys outside the rows too
    KeySoundTable openedReleases;  // every key's release sound as read then; the editor
                                   // shows none of them and keeps them all
    std::string name;           // the name to save under
    SchemeRowFiles rowFiles;
    SchemeRowFiles rowSources;  // full paths of the sounds chosen in this pass
};

struct SchemeSavePlan {
    std::vector<std::string> folders;                         // to create, outermost first
    std::string folder;                                       // ends with a backslash
    std::vector<std::pair<std::string, std::string>> copies;  // source, target, in order
    std::string schemeFile;
    KeySoundTable table;     // what the scheme file gives every key
    KeySoundTable releases;  // and every key's release
};

// The scheme's folder, its "Scheme.txt" for the opened table with the rows laid over it and the
// opened release sounds, and the copies that make every sound it names play: under a new name
// the kept sounds, presses' and releases', from the opened scheme's folder (but none that a
// sound chosen in this pass replaces), then each sound chosen in this pass. False when the schemes folder is empty (the scheme
// set leaves it so when the program's path is too long) or the scheme file path would exceed
// 255 characters; a copy whose source or target would is left out. File names are ANSI text in
// the code page that isLeadByte describes.
bool PlanSchemeSave(const std::string& schemesFolder, const SchemeEdit& edit,
                    LeadBytePredicate isLeadByte, SchemeSavePlan& plan);
