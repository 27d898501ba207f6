#pragma once
// Turns a folder of key recordings, "%02x-0.wav" (press) and "%02x-1.wav" (release) named by
// key number in hex, 16-bit mono PCM, into a scheme like the generated ones.

#include <filesystem>
#include <string>

#include "tools/schemegen/SchemeBuilder.h"
#include "tools/schemegen/SchemeWriter.h"

namespace recorded {

constexpr const char* kRecordedSchemeName = "Buckling Spring";
// The licence of the recordings, written beside the scheme file.
constexpr const char* kLicenceFileName = "COPYING.txt";

// Longest sound kept: a key's sound lasts no longer than a synthesised letter's.
constexpr double kLongestSoundSeconds = 0.150;

// Reads the recordings and builds the scheme: every key with a recording plays its own press
// and release, the others a generic key's. False, with the file and the fault in error, when
// the generic key's recordings are missing or a recording is not 16-bit mono PCM.
bool BuildRecordedScheme(const std::filesystem::path& recordings, schemegen::BuiltScheme& scheme,
                         std::string& error);

// Builds the scheme into outDir/<scheme name>/, as the generator writes its own, with the
// licence file beside it made from the licence text at `licence`.
bool WriteRecordedScheme(const std::filesystem::path& recordings,
                         const std::filesystem::path& licence, const std::filesystem::path& outDir,
                         std::string& error);

// The licence file: where the recordings come from, then the licence's own text.
std::string LicenceText(const std::string& licence);

}  // namespace recorded
