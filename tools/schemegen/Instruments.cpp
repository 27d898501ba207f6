#include "tools/schemegen/Instruments.h"

namespace schemegen {

Samples Keystroke(Synth& synth, const SwitchVoice& voice, double pitch, double rattle)
{
    Samples out = Blank(synth, voice.seconds);
    if (voice.clickAmp > 0) {
        const double hz = voice.clickHz * pitch;
        AddNoise(out, synth, {0, 0.0002, 0.0012, voice.clickAmp, hz * 0.6, hz * 1.6});
        AddModes(out, synth, {{hz, voice.clickAmp * 0.5, 0.003}}, 0, 0.0002);
    }
    const double land = voice.travel;
    std::vector<Mode> landing;
    for (const Mode& m : voice.landing)
        landing.push_back({m.hz * pitch, m.amp, m.decay});
    AddModes(out, synth, landing, land, 0.0004);
    AddNoise(out, synth,
             {land, 0.0003, voice.clackDecay, voice.clackAmp, voice.clackLowHz * pitch,
              voice.clackHighHz});
    AddModes(out, synth, {{voice.thudHz * pitch, voice.thudAmp, 0.018}}, land, 0.001);
    if (rattle > 0 && !landing.empty()) {
        // The stabiliser wire knocks once more a few milliseconds after the key lands.
        const double knock = land + 0.011;
        AddNoise(out, synth, {knock, 0.0003, 0.002, rattle * voice.clackAmp, 1200, 6000});
        AddModes(out, synth, {{landing[0].hz * 1.7, rattle * 0.2, 0.006}}, knock, 0.0003);
    }
    LowPass(out, synth, voice.toneHz);
    return out;
}

Samples KeyboardSound(const SoundRequest& request, Synth& synth, const SwitchVoice& voice)
{
    double pitch = RolePitch(request.role);
    double rattle = 0;
    switch (request.role) {
    case SoundRole::Letter:
        pitch *= VariantFactor(request.index, request.count, 0.08);
        break;
    case SoundRole::Space: rattle = 0.7; break;
    case SoundRole::Enter: rattle = 0.5; break;
    case SoundRole::Backspace:
    case SoundRole::Modifier: rattle = 0.3; break;
    default: break;
    }
    return Keystroke(synth, voice, pitch, rattle);
}

Samples KeyboardReleaseSound(const SoundRequest& request, Synth& synth, const SwitchVoice& voice)
{
    const double pitch = RolePitch(request.role) * 1.4;
    Samples out = Blank(synth, voice.seconds * 0.6);
    std::vector<Mode> top;
    for (const Mode& m : voice.landing)
        top.push_back({m.hz * pitch, m.amp * 0.6, m.decay * 0.5});
    AddModes(out, synth, top, 0.001, 0.0003);
    AddNoise(out, synth,
             {0.001, 0.0002, voice.clackDecay * 0.6, voice.clackAmp * 0.6,
              voice.clackLowHz * pitch, voice.clackHighHz});
    LowPass(out, synth, voice.toneHz * 1.2);
    return out;
}

Samples TonalSound(const SoundRequest& request, Synth& synth, const TonalVoice& voice)
{
    auto hz = [&](int degree) { return PentatonicHz(voice.rootHz, degree); };
    Samples out = Blank(synth, voice.noteSeconds);
    switch (request.role) {
    case SoundRole::Letter:
        voice.note(out, synth, 0, hz(request.index), 1, 1);
        break;
    case SoundRole::Enter:
        // Root, third, fifth and octave, rolled upwards.
        out = Blank(synth, voice.chordSeconds);
        voice.note(out, synth, 0.000, hz(0), 0.8, 1);
        voice.note(out, synth, 0.035, hz(2), 0.7, 1);
        voice.note(out, synth, 0.070, hz(3), 0.7, 1);
        voice.note(out, synth, 0.105, hz(5), 0.8, 1.2);
        break;
    case SoundRole::Space:
        voice.note(out, synth, 0, hz(-2), 1, 1);
        voice.note(out, synth, 0, hz(0), 0.5, 1);
        break;
    case SoundRole::Backspace:
        voice.note(out, synth, 0, hz(3), 0.8, 0.6);
        voice.note(out, synth, 0.04, hz(1), 1, 0.6);
        break;
    case SoundRole::Tab:
        voice.note(out, synth, 0, hz(1), 0.8, 0.6);
        voice.note(out, synth, 0.035, hz(3), 1, 0.6);
        break;
    case SoundRole::Lock:
        voice.note(out, synth, 0, hz(7), 0.8, 0.35);
        voice.note(out, synth, 0.03, hz(10), 1, 0.35);
        break;
    case SoundRole::Digit: voice.note(out, synth, 0, hz(8), 1, 1); break;
    case SoundRole::Escape: voice.note(out, synth, 0, hz(11), 1, 0.5); break;
    case SoundRole::Navigation: voice.note(out, synth, 0, hz(7), 1, 0.4); break;
    case SoundRole::Function: voice.note(out, synth, 0, hz(9), 1, 0.4); break;
    case SoundRole::Punctuation: voice.note(out, synth, 0, hz(5), 1, 0.5); break;
    case SoundRole::Modifier: voice.note(out, synth, 0, hz(0), 1, 0.3); break;
    }
    // Like a damper settling on the bar or string: notes still ringing at the end of the
    // buffer die away instead of being cut.
    ApplyFades(out, 1, 0, FramesFor(synth.rate, 0.035));
    return out;
}

}  // namespace schemegen
