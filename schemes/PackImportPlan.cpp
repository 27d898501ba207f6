#include "schemes/PackImportPlan.h"

#include "schemes/ImportedSchemeName.h"

#include <map>
#include <tuple>

namespace {

// Sounds that cut the same part of the same file are one sound.
using SoundIdentity = std::tuple<std::string, bool, int64_t, int64_t>;

SoundIdentity IdentityOf(const PackSound& sound) {
    if (sound.whole) return {sound.file, true, 0, 0};
    return {sound.file, false, sound.startMs, sound.lengthMs};
}

}  // namespace

PackImportPlan PlanPackImport(const SoundPack& pack) {
    PackImportPlan plan;
    std::map<SoundIdentity, std::string> wavOfSound;
    std::map<std::string, size_t> sourceOfFile;
    for (bool release : {false, true}) {
        KeySoundTable& table = release ? plan.releases : plan.presses;
        for (const PackSound& sound : pack.sounds) {
            if (sound.release != release || sound.keyCode == 0 || !table[sound.keyCode].empty())
                continue;
            const SoundIdentity identity = IdentityOf(sound);
            auto known = wavOfSound.find(identity);
            if (known == wavOfSound.end()) {
                ImportCut cut;
                cut.wavName = ImportedSoundFileName(sound.keyCode, sound.release);
                cut.whole = sound.whole;
                cut.startMs = sound.whole ? 0 : sound.startMs;
                cut.lengthMs = sound.whole ? 0 : sound.lengthMs;
                auto source = sourceOfFile.emplace(sound.file, plan.sources.size()).first;
                if (source->second == plan.sources.size()) plan.sources.push_back({sound.file, {}});
                plan.sources[source->second].cuts.push_back(cut);
                known = wavOfSound.emplace(identity, cut.wavName).first;
            }
            table[sound.keyCode] = known->second;
        }
    }
    return plan;
}
