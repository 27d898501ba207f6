#include "schemes/SoundPack.h"

#include <cmath>
#include <exception>
#include <map>
#include <utility>

#include <nlohmann/json.hpp>

#include "schemes/KeyNames.h"
#include "schemes/PackFileName.h"
#include "schemes/PackKeyCodes.h"

namespace {

using Json = nlohmann::json;

// The first fault found; thrown inside the reader and caught at its entry, so that every check
// is one line.
struct Refusal {
    PackError error;
    std::string detail;
};

[[noreturn]] void Refuse(PackError error, std::string detail) {
    throw Refusal{error, std::move(detail)};
}

// The sounds found so far, one per key and direction; the lower rank wins a key.
class SoundCollector {
public:
    void Offer(PackKey key, PackSound sound) {
        sound.keyCode = key.keyCode;
        const auto slot = std::make_pair(key.keyCode, sound.release);
        auto found = sounds_.find(slot);
        if (found == sounds_.end()) {
            sounds_.emplace(slot, std::make_pair(key.rank, std::move(sound)));
        } else if (key.rank < found->second.first) {
            found->second = std::make_pair(key.rank, std::move(sound));
        }
    }

    std::vector<PackSound> Sounds() && {
        std::vector<PackSound> sounds;
        sounds.reserve(sounds_.size());
        for (auto& entry : sounds_) sounds.push_back(std::move(entry.second.second));
        return sounds;
    }

private:
    std::map<std::pair<uint8_t, bool>, std::pair<uint8_t, PackSound>> sounds_;
};

const Json* Field(const Json& object, const char* name) {
    auto found = object.find(name);
    return found == object.end() ? nullptr : &*found;
}

// A string field; nullptr when absent or null.
const std::string* OptionalString(const Json& object, const char* name) {
    const Json* value = Field(object, name);
    if (value == nullptr || value->is_null()) return nullptr;
    if (!value->is_string()) Refuse(PackError::WrongType, name);
    return &value->get_ref<const std::string&>();
}

const std::string& RequiredString(const Json& object, const char* name) {
    const std::string* value = OptionalString(object, name);
    if (value == nullptr) Refuse(PackError::MissingField, name);
    return *value;
}

const Json& RequiredObject(const Json& object, const char* name) {
    const Json* value = Field(object, name);
    if (value == nullptr) Refuse(PackError::MissingField, name);
    if (!value->is_object()) Refuse(PackError::WrongType, name);
    return *value;
}

// "single" (slices of one file) or "multi" (a file per key).
bool IsSingleFile(const Json& config, const char* field) {
    const std::string& type = RequiredString(config, field);
    if (type == "single") return true;
    if (type == "multi") return false;
    Refuse(PackError::UnknownFormat, field);
}

// A version written as a number or as a string of it; 0 for any other value.
int VersionNumber(const Json& value) {
    if (value.is_number_integer() && value.get<int64_t>() >= 1 && value.get<int64_t>() <= 2) {
        return static_cast<int>(value.get<int64_t>());
    }
    if (value == "1") return 1;
    if (value == "2") return 2;
    return 0;
}

int64_t Milliseconds(const Json& value, const std::string& key) {
    if (!value.is_number()) Refuse(PackError::WrongType, key);
    const double ms = value.get<double>();
    if (!(ms >= 0) || ms > static_cast<double>(kMaxPackSliceStartMs + kMaxPackSliceMs)) {
        Refuse(PackError::BadSlice, key);
    }
    return std::llround(ms);
}

const Json& NumberPair(const Json& value, const std::string& key) {
    if (!value.is_array() || value.size() != 2) Refuse(PackError::WrongType, key);
    return value;
}

PackSound Slice(const std::string& file, int64_t startMs, int64_t lengthMs,
                const std::string& key) {
    if (startMs > kMaxPackSliceStartMs || lengthMs < 0 || lengthMs > kMaxPackSliceMs) {
        Refuse(PackError::BadSlice, key);
    }
    return PackSound{0, false, file, false, startMs, lengthMs};
}

PackSound WholeFile(const std::string& file) { return PackSound{0, false, file, true, 0, 0}; }

// Mechvibes picks one number of a "{a-b}" range per key when it loads a pack; a hash of the key
// code makes the pick the same at every import while neighbouring keys differ.
std::string PickFromRange(const std::string& name, uint8_t keyCode) {
    const size_t open = name.find('{');
    if (open == std::string::npos) return name;
    const size_t dash = name.find_first_not_of("0123456789", open + 1);
    if (dash == std::string::npos || dash == open + 1 || name[dash] != '-') return name;
    const size_t close = name.find_first_not_of("0123456789", dash + 1);
    if (close == std::string::npos || close == dash + 1 || name[close] != '}') return name;
    constexpr size_t kMaxDigits = 4;
    if (dash - open - 1 > kMaxDigits || close - dash - 1 > kMaxDigits) {
        Refuse(PackError::BadFileName, name);
    }
    const unsigned first = std::stoul(name.substr(open + 1, dash - open - 1));
    const unsigned last = std::stoul(name.substr(dash + 1, close - dash - 1));
    if (first > last) Refuse(PackError::BadFileName, name);
    const uint32_t hash = (keyCode * 2654435761u) >> 16;
    const unsigned pick = first + hash % (last - first + 1);
    return name.substr(0, open) + std::to_string(pick) + name.substr(close + 1);
}

const std::string& CheckedFileName(const std::string& name) {
    if (!IsSafePackFileName(name)) Refuse(PackError::BadFileName, name);
    return name;
}

// The file of one key: its range number picked, its name checked.
std::string KeyFileName(const std::string& name, uint8_t keyCode) {
    return CheckedFileName(PickFromRange(name, keyCode));
}

// A key of Mechvibes' defines: "<code>" for the press, "<code>-up" for the release. A key of
// any other form has no Tapvox key.
PackKey MechvibesKey(const std::string& key, bool& release) {
    constexpr std::string_view kUp = "-up";
    std::string_view digits = key;
    release = digits.size() > kUp.size() && digits.substr(digits.size() - kUp.size()) == kUp;
    if (release) digits.remove_suffix(kUp.size());
    constexpr size_t kMaxDigits = 5;
    if (digits.empty() || digits.size() > kMaxDigits ||
        digits.find_first_not_of("0123456789") != std::string_view::npos) {
        return PackKey{0, 0};
    }
    return PackKeyFromCode(static_cast<uint32_t>(std::stoul(std::string(digits))));
}

// Mechvibes, version 1 or 2.
void ReadMechvibes(const Json& config, int version, SoundPack& pack, SoundCollector& sounds) {
    const bool single = IsSingleFile(config, "key_define_type");
    const Json& defines = RequiredObject(config, "defines");
    const std::string* sound = single ? &RequiredString(config, "sound")
                                      : OptionalString(config, "sound");
    if (single) CheckedFileName(*sound);
    for (const auto& define : defines.items()) {
        const std::string& key = define.key();
        const Json& value = define.value();
        if (value.is_null()) continue;
        bool release = false;
        const PackKey packKey = MechvibesKey(key, release);
        PackSound entry;
        if (single) {
            const Json& slice = NumberPair(value, key);
            entry = Slice(*sound, Milliseconds(slice[0], key), Milliseconds(slice[1], key), key);
        } else {
            if (!value.is_string()) Refuse(PackError::WrongType, key);
            entry = WholeFile(KeyFileName(value.get_ref<const std::string&>(), packKey.keyCode));
        }
        if (packKey.keyCode == 0) {
            ++pack.skippedKeys;
            continue;
        }
        if (entry.lengthMs == 0 && !entry.whole) continue;
        entry.release = release;
        sounds.Offer(packKey, std::move(entry));
    }
    if (version != 2 || single) return;
    // Version 2: every key without a sound of its own has the pack's own press and release; the
    // last rank lets any sound of its own win.
    const std::string* soundUp = OptionalString(config, "soundup");
    constexpr uint8_t kFallbackRank = 255;
    for (unsigned code = 1; code <= 255; ++code) {
        if (KeyNameOfCode(code) == nullptr) continue;
        const PackKey key{static_cast<uint8_t>(code), kFallbackRank};
        if (sound != nullptr) {
            sounds.Offer(key, WholeFile(KeyFileName(*sound, key.keyCode)));
        }
        if (soundUp != nullptr) {
            PackSound up = WholeFile(KeyFileName(*soundUp, key.keyCode));
            up.release = true;
            sounds.Offer(key, std::move(up));
        }
    }
}

// MechvibesDX: definitions by key name, each with its press and release as [start, end].
void ReadMechvibesDx(const Json& config, SoundPack& pack, SoundCollector& sounds) {
    const bool single = IsSingleFile(config, "definition_method");
    const Json& definitions = RequiredObject(config, "definitions");
    const std::string* packFile = single ? &RequiredString(config, "audio_file")
                                         : OptionalString(config, "audio_file");
    for (const auto& definition : definitions.items()) {
        const std::string& key = definition.key();
        const Json& value = definition.value();
        if (value.is_null()) continue;
        if (!value.is_object()) Refuse(PackError::WrongType, key);
        const PackKey packKey = PackKeyFromName(key);
        const std::string* ownFile = OptionalString(value, "audio_file");
        const std::string* file = ownFile != nullptr ? ownFile : packFile;
        if (file == nullptr) Refuse(PackError::MissingField, key);
        const std::string checkedFile = KeyFileName(*file, packKey.keyCode);
        const Json* timing = Field(value, "timing");
        std::vector<PackSound> entries;
        if (timing == nullptr || timing->is_null()) {
            // Without a slice, a key plays the whole of its own file, never the pack's one
            // recording of all keys.
            if (!single || ownFile != nullptr) entries.push_back(WholeFile(checkedFile));
        } else {
            constexpr size_t kPressAndRelease = 2;
            if (!timing->is_array() || timing->size() > kPressAndRelease) {
                Refuse(PackError::WrongType, key);
            }
            for (const Json& pair : *timing) {
                const Json& span = NumberPair(pair, key);
                const int64_t start = Milliseconds(span[0], key);
                const int64_t end = Milliseconds(span[1], key);
                entries.push_back(Slice(checkedFile, start, end - start, key));
                entries.back().release = entries.size() == kPressAndRelease;
            }
        }
        if (packKey.keyCode == 0) {
            ++pack.skippedKeys;
            continue;
        }
        for (PackSound& entry : entries) {
            if (entry.whole || entry.lengthMs > 0) sounds.Offer(packKey, std::move(entry));
        }
    }
}

SoundPack ReadConfig(std::string_view configJson) {
    if (configJson.size() > kMaxPackConfigBytes) Refuse(PackError::TooLarge, "config.json");
    const Json config = Json::parse(configJson, nullptr, /*allow_exceptions=*/false);
    if (!config.is_object()) Refuse(PackError::Malformed, "config.json");
    SoundPack pack;
    if (const std::string* name = OptionalString(config, "name")) pack.name = *name;
    SoundCollector sounds;
    if (const Json* configVersion = Field(config, "config_version")) {
        if (VersionNumber(*configVersion) != 2) Refuse(PackError::UnknownFormat, "config_version");
        ReadMechvibesDx(config, pack, sounds);
    } else {
        const Json* versionField = Field(config, "version");
        const int version = versionField == nullptr ? 1 : VersionNumber(*versionField);
        if (version == 0) Refuse(PackError::UnknownFormat, "version");
        ReadMechvibes(config, version, pack, sounds);
    }
    pack.sounds = std::move(sounds).Sounds();
    return pack;
}

}  // namespace

SoundPackReading ReadSoundPack(std::string_view configJson) {
    SoundPackReading reading;
    try {
        reading.pack = ReadConfig(configJson);
    } catch (const Refusal& refusal) {
        reading.error = refusal.error;
        reading.errorDetail = refusal.detail;
    } catch (const std::exception&) {
        // Only memory can run out here: every value is type-checked before it is read.
        reading.error = PackError::TooLarge;
        reading.errorDetail = "config.json";
    }
    return reading;
}
