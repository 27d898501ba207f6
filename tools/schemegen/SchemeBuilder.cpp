#include "tools/schemegen/SchemeBuilder.h"

#include <cmath>
#include <cstdio>
#include <map>

#include "tools/schemegen/KeyLayout.h"

namespace schemegen {

namespace {

struct PlannedSound {
    SoundRequest request;
    double pan;
    bool release = false;  // the sound of the key coming back up
    bool mouse = false;    // a mouse button's press
};

struct KeyFile {
    std::string key;
    std::string file;
};

// Which file each key plays and which sounds must be made.
struct Plan {
    std::vector<KeyFile> letters;
    std::vector<KeyFile> digits;
    std::vector<KeyFile> singles;
    std::string functionFile;
    std::vector<KeyFile> releases;  // key names or group words, for the ".UP" lines
    std::vector<KeyFile> buttons;   // mouse button words
    std::map<std::string, PlannedSound> sounds;  // by file name
};

// A release is quieter than its press: the key meets the top of its housing, not the plate.
constexpr double kReleaseLevelDb = -6;
// A click accompanies the typing rather than leading it.
constexpr double kMouseLevelDb = -4;

const char* RoleFileName(SoundRole role)
{
    switch (role) {
    case SoundRole::Letter: return "key.wav";
    case SoundRole::Digit: return "digit.wav";
    case SoundRole::Punctuation: return "punct.wav";
    case SoundRole::Space: return "space.wav";
    case SoundRole::Enter: return "enter.wav";
    case SoundRole::Backspace: return "back.wav";
    case SoundRole::Tab: return "tab.wav";
    case SoundRole::Escape: return "esc.wav";
    case SoundRole::Navigation: return "nav.wav";
    case SoundRole::Function: return "fkey.wav";
    case SoundRole::Modifier: return "modifier.wav";
    case SoundRole::Lock: return "lock.wav";
    }
    return "key.wav";
}

std::string NoteFileName(int degree)
{
    char name[16];
    std::snprintf(name, sizeof name, "note%02d.wav", degree);
    return name;
}

// Letters next to each other in the alphabet get different variants; 7 is coprime with
// every variant count we use, so each variant gets its share of the letters.
int LetterVariant(char letter, int count)
{
    return ((letter - 'A') * 7 + 3) % count;
}

std::string PlanLetter(const SchemeDesign& design, char letter, Plan& plan)
{
    const int count = design.letterVariants > 0 ? design.letterVariants : 1;
    std::string file;
    PlannedSound sound{{SoundRole::Letter, 0, count}, 0};
    switch (design.letters) {
    case LetterPlan::Variants:
        sound.request.index = LetterVariant(letter, count);
        file = "key" + std::to_string(sound.request.index + 1) + ".wav";
        break;
    case LetterPlan::ScaleNotes:
        sound.request.index = LetterDegree(letter);
        file = NoteFileName(sound.request.index);
        break;
    case LetterPlan::PannedKeys:
        sound.request.index = LetterVariant(letter, count);
        sound.pan = LetterPan(letter);
        file = std::string("key-") + static_cast<char>(letter - 'A' + 'a') + ".wav";
        break;
    }
    plan.sounds.emplace(file, sound);
    return file;
}

std::string PlanDigit(const SchemeDesign& design, int digit, Plan& plan)
{
    if (design.letters == LetterPlan::ScaleNotes) {
        const int degree = DigitDegree(digit);
        const std::string file = NoteFileName(degree);
        plan.sounds.emplace(file, PlannedSound{{SoundRole::Letter, degree, 1}, 0});
        return file;
    }
    const char* file = RoleFileName(SoundRole::Digit);
    plan.sounds.emplace(file, PlannedSound{{SoundRole::Digit, 0, 1}, RolePan(SoundRole::Digit)});
    return file;
}

std::string PlanRole(SoundRole role, Plan& plan)
{
    const char* file = RoleFileName(role);
    plan.sounds.emplace(file, PlannedSound{{role, 0, 1}, RolePan(role)});
    return file;
}

// One release sound per kind of key: the wide keys and the modifiers their own, every other
// key the letters'. None for the lock keys.
std::string PlanRelease(SoundRole role, Plan& plan)
{
    const char* file = "key-up.wav";
    switch (role) {
    case SoundRole::Space: file = "space-up.wav"; break;
    case SoundRole::Enter: file = "enter-up.wav"; break;
    case SoundRole::Backspace: file = "back-up.wav"; break;
    case SoundRole::Modifier: file = "modifier-up.wav"; break;
    case SoundRole::Lock: return {};
    default: role = SoundRole::Letter; break;
    }
    plan.sounds.emplace(file, PlannedSound{{role, 0, 1}, 0, true});
    return file;
}

void PlanReleases(const SchemeDesign& design, Plan& plan)
{
    if (design.release == nullptr)
        return;
    const std::string key = PlanRelease(SoundRole::Letter, plan);
    if (design.listing == KeyListing::GroupWords) {
        for (const char* group : {"CHARS", "DIGITS", "FUNCS"})
            plan.releases.push_back({group, key});
    } else {
        for (const std::vector<KeyFile>* keys : {&plan.letters, &plan.digits})
            for (const KeyFile& k : *keys)
                plan.releases.push_back({k.key, key});
        for (const std::string& name : FunctionKeyNames())
            plan.releases.push_back({name, key});
    }
    for (const NamedKey& single : SingleKeys()) {
        const std::string file = PlanRelease(single.role, plan);
        if (!file.empty())
            plan.releases.push_back({single.name, file});
    }
}

void PlanButtons(const SchemeDesign& design, Plan& plan)
{
    if (design.mouse == nullptr)
        return;
    const KeyFile buttons[] = {
        {"LBUTTON", "mouse-left.wav"}, {"RBUTTON", "mouse-right.wav"},
        {"MBUTTON", "mouse-middle.wav"}};
    for (int index = 0; index < 3; ++index) {
        plan.buttons.push_back(buttons[index]);
        plan.sounds.emplace(buttons[index].file,
                            PlannedSound{{SoundRole::Letter, index, 3}, 0, false, true});
    }
}

Plan MakePlan(const SchemeDesign& design)
{
    Plan plan;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        plan.letters.push_back({std::string(1, letter), PlanLetter(design, letter, plan)});
    for (const std::string& key : DigitKeyNames())
        plan.digits.push_back({key, PlanDigit(design, key.back() - '0', plan)});
    plan.functionFile = PlanRole(SoundRole::Function, plan);
    for (const NamedKey& key : SingleKeys())
        plan.singles.push_back({key.name, PlanRole(key.role, plan)});
    PlanReleases(design, plan);
    PlanButtons(design, plan);
    return plan;
}

// The file most keys of a group play: the group word's value, with the rest as exceptions.
std::string MostCommonFile(const std::vector<KeyFile>& keys)
{
    std::map<std::string, int> uses;
    std::string best;
    int bestUses = 0;
    for (const KeyFile& k : keys) {
        const int n = ++uses[k.file];
        if (n > bestUses) {
            best = k.file;
            bestUses = n;
        }
    }
    return best;
}

void AppendLine(std::string& text, const std::string& key, const std::string& file)
{
    text += key + "=" + file + "\r\n";
}

// The buttons follow the keys, and release words follow every press word.
std::string ButtonAndReleaseText(const Plan& plan)
{
    std::string text;
    for (const KeyFile& k : plan.buttons)
        AppendLine(text, k.key, k.file);
    for (const KeyFile& k : plan.releases)
        AppendLine(text, k.key + ".UP", k.file);
    return text;
}

std::string SchemeFileText(const SchemeDesign& design, const Plan& plan)
{
    std::string text;
    if (design.fileName == SchemeFileName::SchemeIni)
        text += "[Keys]\r\n";
    if (design.listing == KeyListing::GroupWords) {
        const std::string chars = MostCommonFile(plan.letters);
        const std::string digits = MostCommonFile(plan.digits);
        AppendLine(text, "CHARS", chars);
        AppendLine(text, "DIGITS", digits);
        AppendLine(text, "FUNCS", plan.functionFile);
        for (const KeyFile& k : plan.letters)
            if (k.file != chars)
                AppendLine(text, k.key, k.file);
        for (const KeyFile& k : plan.digits)
            if (k.file != digits)
                AppendLine(text, k.key, k.file);
        for (const KeyFile& k : plan.singles)
            AppendLine(text, k.key, k.file);
        return text + ButtonAndReleaseText(plan);
    }
    for (const std::vector<KeyFile>* keys : {&plan.letters, &plan.digits, &plan.singles})
        for (const KeyFile& k : *keys)
            AppendLine(text, k.key, k.file);
    for (const std::string& key : FunctionKeyNames())
        AppendLine(text, key, plan.functionFile);
    return text + ButtonAndReleaseText(plan);
}

Samples Pan(const Samples& mono, double pan)
{
    // Equal-power law: a sound keeps its loudness as it moves across.
    const double angle = (pan + 1) * kPi / 4;
    const double left = std::cos(angle);
    const double right = std::sin(angle);
    Samples stereo;
    stereo.reserve(mono.size() * 2);
    for (double v : mono) {
        stereo.push_back(v * left);
        stereo.push_back(v * right);
    }
    return stereo;
}

std::vector<uint8_t> RenderSound(const SchemeDesign& design, const PlannedSound& sound)
{
    const double rate = design.format.sampleRate;
    const uint64_t tag = static_cast<uint64_t>(sound.request.role) * 1000 +
                         static_cast<uint64_t>(sound.request.index + 100) +
                         (sound.release ? 500000 : 0) + (sound.mouse ? 700000 : 0);
    Synth synth{rate, Rng(MixSeed(design.seed, tag))};
    const RenderFunction render =
        sound.mouse ? design.mouse : sound.release ? design.release : design.render;
    Samples mono = render(sound.request, synth);

    // -54 dB is below what a keyboard sound's tail contributes; 20 ms is the shortest click.
    TrimTail(mono, 1, 0.002, FramesFor(rate, 0.02));
    const int channels = design.format.channels;
    Samples out = channels == 2 ? Pan(mono, sound.pan) : mono;
    ApplyFades(out, channels, FramesFor(rate, 0.0005), FramesFor(rate, 0.02));

    const double rms = SoundingRms(out, channels);
    const double levelDb = kLetterLoudnessDb + RoleLevelDb(sound.request.role) +
                           (sound.release ? kReleaseLevelDb : 0) +
                           (sound.mouse ? kMouseLevelDb : 0);
    if (rms > 0)
        Scale(out, DbToGain(levelDb) / rms);
    const double peak = PeakOf(out);
    if (peak > kPeakCeiling)
        Scale(out, kPeakCeiling / peak);
    return EncodeWav(out, design.format);
}

}  // namespace

double RoleLevelDb(SoundRole role)
{
    switch (role) {
    case SoundRole::Letter: return 0;
    case SoundRole::Digit: return -0.5;
    case SoundRole::Punctuation: return -1;
    case SoundRole::Space: return 0.5;
    case SoundRole::Enter: return 1;
    case SoundRole::Backspace: return -0.5;
    case SoundRole::Tab:
    case SoundRole::Escape: return -1.5;
    case SoundRole::Navigation:
    case SoundRole::Function: return -2.5;
    // Modifiers and locks are pressed alongside other keys; they should stay in the
    // background.
    case SoundRole::Modifier: return -8;
    case SoundRole::Lock: return -7;
    }
    return 0;
}

BuiltScheme BuildScheme(const SchemeDesign& design)
{
    const Plan plan = MakePlan(design);
    BuiltScheme built;
    built.name = design.name;
    built.schemeFileName =
        design.fileName == SchemeFileName::SchemeIni ? "Scheme.ini" : "Scheme.txt";
    built.schemeFileText = SchemeFileText(design, plan);
    for (const auto& [file, sound] : plan.sounds)
        built.sounds.push_back({file, RenderSound(design, sound)});
    return built;
}

}  // namespace schemegen
