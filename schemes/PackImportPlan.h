#pragma once
// What importing a sound pack writes, worked out from its config before any audio is read: the
// WAV files to cut from each of the pack's audio files, and the scheme file that names them.

#include "schemes/SchemeFile.h"
#include "schemes/SoundPack.h"

#include <cstdint>
#include <string>
#include <vector>

// One WAV file of the scheme: the whole audio file, or a slice of it.
struct ImportCut {
    std::string wavName;
    bool whole = false;
    int64_t startMs = 0;
    int64_t lengthMs = 0;
};

// A file of the pack and the WAV files cut from it, in the order the keys first use them.
struct ImportSource {
    std::string packFile;
    std::vector<ImportCut> cuts;
};

struct PackImportPlan {
    std::vector<ImportSource> sources;  // each pack file once, in order of first use
    KeySoundTable presses;
    KeySoundTable releases;
};

// Each distinct sound (a file, or one slice of a file) becomes one WAV file, named after the
// first key that uses it, the presses before the releases; the keys sharing it name that file.
PackImportPlan PlanPackImport(const SoundPack& pack);
