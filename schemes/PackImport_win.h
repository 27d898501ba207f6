#pragma once
// The import of a sound pack with this system's own tools: its MP3 codec and ANSI code page.

#include "schemes/PackImport.h"

#include <string>

PackImportResult ImportPackHere(const std::string& packPath, const std::string& schemesFolder);
