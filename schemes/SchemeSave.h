#pragma once
// Saving a scheme from the editor: its folder, the sounds it needs there and a fresh
// "Scheme.txt". Failures are silent; whatever succeeded stays on disk.

#include "schemes/SchemeSavePlan.h"

#include <string>

void SaveScheme(const std::string& schemesFolder, const SchemeEdit& edit);
