#pragma once
#include <filesystem>
#include <string>

#include "tools/schemegen/SchemeBuilder.h"

namespace schemegen {

// Writes the scheme into outDir/<scheme name>/, replacing whatever an earlier run left in
// that folder. Other folders in outDir (a user's own schemes) are not touched.
bool WriteScheme(const BuiltScheme& scheme, const std::filesystem::path& outDir,
                 std::string& error);

// Builds and writes every bundled scheme, in catalogue order.
bool WriteAllSchemes(const std::filesystem::path& outDir, std::string& error);

}  // namespace schemegen
