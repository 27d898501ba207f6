#pragma once
// Saving a scheme from the editor: its folder, the sounds chosen in this pass and a fresh
// "Scheme.txt". Failures are silent; whatever succeeded stays on disk.

#include "schemes/SchemeFile.h"

#include <string>

void SaveScheme(const std::string& schemesFolder, const std::string& name,
                const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources);
