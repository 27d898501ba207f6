#include "audio/Mixer.h"

#include "audio/MixVoices.h"
#include "audio/PeakLimiter.h"
#include "audio/SampleConversion.h"
#include "audio/SoundConverter.h"
#include "audio/SoundHandoff.h"

#include <algorithm>

namespace {

// Every sound handed over and not yet freed fits in the return ring, so the render thread
// can always give a sound back.
constexpr size_t kMostSoundsInFlight = 64;
constexpr size_t kWaitingSounds = 32;

}  // namespace

struct Mixer::State {
    SoundConverter converter;                            // main thread
    size_t inFlight = 0;                                 // main thread
    SoundHandoff<MixSound*, kWaitingSounds> toRender;    // main -> render
    SoundHandoff<MixSound*, kMostSoundsInFlight> toFree; // render -> main
    MixVoices voices;                                    // render thread
    PeakLimiter limiter;                                 // render thread
    std::array<MixSound*, MixVoices::kSlots> finished{}; // render thread

    void FreeFinished() {
        MixSound* sound;
        while (toFree.Pop(sound)) {
            delete sound;
            --inFlight;
        }
    }
};

Mixer::Mixer() : state_(std::make_unique<State>()) {}

// The render thread has stopped by now: every sound still held anywhere is freed here.
Mixer::~Mixer() {
    state_->FreeFinished();
    MixSound* sound;
    while (state_->toRender.Pop(sound)) delete sound;
    const size_t count = state_->voices.StopAll(state_->finished);
    for (size_t i = 0; i < count; ++i) delete state_->finished[i];
}

bool Mixer::Play(const WaveSamples& sound, const MixFormat& format) {
    State& state = *state_;
    state.FreeFinished();
    if (state.inFlight >= kMostSoundsInFlight) return false;
    std::unique_ptr<MixSound> converted = state.converter.Convert(sound, format);
    if (!converted) return false;
    if (converted->samples.empty()) return true;  // nothing to hear
    if (!state.toRender.Push(converted.get())) return false;
    converted.release();  // the render thread gives it back through toFree
    ++state.inFlight;
    return true;
}

void Mixer::Render(float* out, uint32_t frames, const MixFormat& format) {
    State& state = *state_;
    MixSound* sound;
    while (state.toRender.Peek(sound)) {
        if (sound->format != format) {
            state.toFree.Push(sound);  // converted for a device that is gone
        } else if (!state.voices.Start(sound, format)) {
            break;  // it waits for a fading voice to end
        }
        state.toRender.Pop(sound);
    }
    std::fill(out, out + size_t(frames) * format.channels, 0.0f);
    if (!IsPlausibleSampleRate(format.sampleRate)) return;
    const size_t count = state.voices.Mix(out, frames, format, state.finished);
    for (size_t i = 0; i < count; ++i) state.toFree.Push(state.finished[i]);
    state.limiter.Apply(out, frames, format.channels, format.sampleRate);
}

bool Mixer::Busy() const {
    return state_->voices.Active() || !state_->toRender.Empty();
}
