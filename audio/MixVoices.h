#pragma once
// The voices of the render thread: each plays one sound into the output, faded in over a
// fraction of a millisecond so that no sound starts with a step. When 32 play and another
// starts, the oldest fades out over a few milliseconds on one of a few extra slots, so a cut
// never clicks either. Fixed storage: nothing is allocated or freed here.

#include "audio/MixSound.h"

#include <array>
#include <cstddef>
#include <cstdint>

class MixVoices {
public:
    static constexpr size_t kMostPlaying = 32;
    static constexpr size_t kFadingSlots = 4;
    static constexpr size_t kSlots = kMostPlaying + kFadingSlots;
    static constexpr double kFadeInSeconds = 0.0005;
    static constexpr double kFadeOutSeconds = 0.003;

    // Starts the sound, converted for `format`, on a free voice, first fading out the oldest
    // when kMostPlaying play. False, with nothing changed, while no slot is free: the fading
    // voices free theirs within a few milliseconds.
    bool Start(MixSound* sound, const MixFormat& format);

    // Adds every voice's next `frames` frames into out (interleaved, format.channels wide);
    // the first two channels carry sound. Voices that end, and voices whose sound was converted
    // for another format, let go of their sound: it is stored in finished, and the count
    // returned (at most kSlots).
    size_t Mix(float* out, uint32_t frames, const MixFormat& format,
               std::array<MixSound*, kSlots>& finished);

    // Lets go of every sound, as Mix does; for the owner's end.
    size_t StopAll(std::array<MixSound*, kSlots>& finished);

    bool Active() const;

private:
    struct Voice {
        MixSound* sound = nullptr;
        size_t position = 0;      // next frame of the sound
        uint32_t fadeIn = 0;      // frames of the fade-in
        uint32_t fadeOut = 0;     // frames of the fade-out
        uint32_t fadeLeft = 0;    // frames until silence while fading out; 0 when not fading
        uint64_t startOrder = 0;  // older voices have smaller numbers
    };

    // Adds one voice; true when it has finished.
    static bool MixVoice(Voice& voice, float* out, uint32_t frames, uint16_t channels);

    std::array<Voice, kSlots> voices_{};
    uint64_t started_ = 0;
};
