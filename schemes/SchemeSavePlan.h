#pragma once
// What saving a scheme from the editor copies and writes, worked out before anything touches
// the disk.

#include "schemes/SchemeFile.h"

#include <string>
#include <utility>
#include <vector>

struct SchemeSavePlan {
    std::string folder;                                       // ends with a backslash
    std::vector<std::pair<std::string, std::string>> copies;  // source, target
    std::string schemeFile;
};

// The scheme's folder, a copy of each sound chosen in this pass into it, and its "Scheme.txt".
// False when the schemes folder is empty (the scheme set leaves it so when the program's path
// is too long) or the scheme file path would exceed 255 characters; a copy whose target would
// is left out.
bool PlanSchemeSave(const std::string& schemesFolder, const std::string& name,
                    const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources,
                    SchemeSavePlan& plan);
