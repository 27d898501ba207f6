#pragma once
// What a file name inside a sound pack (in its config.json, or an entry of its .zip) may be.

#include <string_view>

// Whether the name, relative to the pack's folder, stays inside it and names a file there: not
// empty, not rooted ('/' or '\'), no drive or stream (':'), no control character, no part that
// Windows reads as ".." or as a device, and not a folder (a trailing separator). Both '/' and
// '\' separate parts.
bool IsSafePackFileName(std::string_view name);
