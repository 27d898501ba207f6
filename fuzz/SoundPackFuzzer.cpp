// A sound pack's config.json of any bytes: the reader must never crash, and whatever it accepts
// must name Tapvox keys, keep its files inside the pack and its slices within bounds.
#include "schemes/SoundPack.h"

#include <cstdint>
#include <string_view>

#include "schemes/KeyNames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const SoundPackReading reading =
        ReadSoundPack(std::string_view(reinterpret_cast<const char*>(data), size));
    if (reading.error != PackError::None) {
        if (!reading.pack.sounds.empty() || !reading.pack.name.empty()) __builtin_trap();
        return 0;
    }
    const PackSound* previous = nullptr;
    for (const PackSound& sound : reading.pack.sounds) {
        if (KeyNameOfCode(sound.keyCode) == nullptr) __builtin_trap();
        // Ordered by key, the press first, never two sounds for one key and direction.
        if (previous != nullptr && (previous->keyCode > sound.keyCode ||
                                    (previous->keyCode == sound.keyCode &&
                                     (previous->release || !sound.release))))
            __builtin_trap();
        const std::string& file = sound.file;
        if (file.empty() || file.front() == '/' || file.front() == '\\') __builtin_trap();
        if (file.find(':') != std::string::npos) __builtin_trap();
        const auto isSeparator = [&file](size_t at) { return file[at] == '/' || file[at] == '\\'; };
        for (size_t at = file.find(".."); at != std::string::npos; at = file.find("..", at + 1)) {
            const bool partStart = at == 0 || isSeparator(at - 1);
            const bool partEnd = at + 2 == file.size() || isSeparator(at + 2);
            if (partStart && partEnd) __builtin_trap();
        }
        if (!sound.whole && (sound.startMs < 0 || sound.startMs > kMaxPackSliceStartMs ||
                             sound.lengthMs <= 0 || sound.lengthMs > kMaxPackSliceMs))
            __builtin_trap();
        previous = &sound;
    }
    return 0;
}
