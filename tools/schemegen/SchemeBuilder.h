#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "tools/schemegen/Scheme.h"

namespace schemegen {

struct SoundFile {
    std::string name;
    std::vector<uint8_t> bytes;
};

// One scheme as it will lie on disk: its scheme file and its WAV files.
struct BuiltScheme {
    std::string name;
    std::string schemeFileName;  // "Scheme.txt" or "Scheme.ini"
    std::string schemeFileText;
    std::vector<SoundFile> sounds;
};

// Loudness of every letter sound, as SoundingRms measures it, in dB below full scale; the
// other roles sit at RoleLevelDb relative to it.
constexpr double kLetterLoudnessDb = -20.0;

// Highest sample magnitude a sound may reach: 1 dB of headroom below full scale.
constexpr double kPeakCeiling = 0.89;

double RoleLevelDb(SoundRole role);

BuiltScheme BuildScheme(const SchemeDesign& design);

}  // namespace schemegen
