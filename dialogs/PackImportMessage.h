#pragma once
// What Manage Schemes tells the user after importing a sound pack.

#include "schemes/PackImport.h"

#include <cstddef>
#include <string>

// The string that says what is wrong, for an import that failed (res/resource.h).
unsigned ImportErrorStringId(PackImportError error);

// The skipped-keys format with the scheme's name for its "%s" and the count for its "%u".
std::wstring FillSkippedKeysText(const std::wstring& format, const std::wstring& schemeName,
                                 size_t skippedKeys);
