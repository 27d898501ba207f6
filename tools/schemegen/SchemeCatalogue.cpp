#include "tools/schemegen/Recipes.h"
#include "tools/schemegen/Scheme.h"

namespace schemegen {

namespace {

constexpr WavFormat kMono11k8 = {11025, 8, 1};
constexpr WavFormat kMono11k16 = {11025, 16, 1};
constexpr WavFormat kMono22k8 = {22050, 8, 1};
constexpr WavFormat kMono22k16 = {22050, 16, 1};
constexpr WavFormat kStereo22k16 = {22050, 16, 2};
constexpr WavFormat kMono44k16 = {44100, 16, 1};

constexpr SchemeFileName kTxt = SchemeFileName::SchemeTxt;
constexpr KeyListing kGroups = KeyListing::GroupWords;
constexpr KeyListing kEvery = KeyListing::EveryKey;
constexpr LetterPlan kVariants = LetterPlan::Variants;
constexpr LetterPlan kNotes = LetterPlan::ScaleNotes;

}  // namespace

const std::vector<SchemeDesign>& AllSchemes()
{
    static const std::vector<SchemeDesign> schemes = {
        {"Bells", "FM bells on a pentatonic scale; a rolled chord on Enter.", kMono44k16,
         kNotes, 0, kTxt, kGroups, 0x1001, RenderBells},
        {"Bubbles", "Air bubbles rising in water; a burst of them on Enter.", kMono22k16,
         kVariants, 6, kTxt, kGroups, 0x1002, RenderBubbles},
        {"Clicky Mechanical", "A clicky switch on a steel plate, bright and crisp.",
         kMono44k16, kVariants, 5, kTxt, kEvery, 0x1003, RenderClickyMechanical,
         RenderClickyMechanicalRelease, RenderClickyMechanicalMouse},
        {"Clock Tick", "Tick and tock of a clock's escapement; the hour chime on Enter.",
         kMono22k8, kVariants, 4, kTxt, kGroups, 0x1004, RenderClockTick},
        {"Drum Kit", "Hats, snare and rim for letters, kick on Space, a crash on Enter.",
         kMono22k16, kVariants, 6, kTxt, kGroups, 0x1005, RenderDrumKit, nullptr,
         RenderDrumKitMouse},
        {"Glass Chimes", "Glass rods tuned to a pentatonic scale, clear and high.",
         kMono44k16, kNotes, 0, kTxt, kGroups, 0x1006, RenderGlassChimes},
        {"Kalimba", "A thumb piano: steel tines over a wooden box.", kMono22k16, kNotes, 0,
         kTxt, kGroups, 0x1007, RenderKalimba},
        {"Laptop Keys", "Short, light scissor-switch ticks.", kMono44k16, kVariants, 5, kTxt,
         kEvery, 0x1008, RenderLaptopKeys, RenderLaptopKeysRelease, RenderLaptopKeysMouse},
        {"Marimba", "Rosewood bars: every letter plays a note, rows rise in pitch.", kMono22k16,
         kNotes, 0, kTxt, kGroups, 0x1009, RenderMarimba},
        {"Membrane", "An office keyboard's rubber domes: soft and dull.", kMono22k8, kVariants,
         4, kTxt, kGroups, 0x100A, RenderMembrane, RenderMembraneRelease},
        {"Music Box", "Plucked comb teeth of a music box.", kMono22k16, kNotes, 0, kTxt, kEvery,
         0x100B, RenderMusicBox},
        {"Pebbles", "Small stones knocking together; one drops into a bowl on Enter.",
         kMono22k8, kVariants, 6, kTxt, kGroups, 0x100C, RenderPebbles},
        {"Piano", "A felt-hammered piano; letters play the notes of a scale.", kMono22k16,
         kNotes, 0, kTxt, kEvery, 0x100D, RenderPiano},
        {"Pop", "Corks and finger pops; a cork with fizz on Space.", kMono22k16, kVariants, 6,
         kTxt, kEvery, 0x100E, RenderPop},
        {"Retro 8-bit", "Pulse-wave blips of an 8-bit console; a coin on Enter.", kMono11k8,
         kNotes, 0, SchemeFileName::SchemeIni, kGroups, 0x100F, RenderRetro8Bit},
        {"Sci-Fi Blips", "Soft rising sine blips of a starship console.", kMono22k16, kVariants,
         6, kTxt, kGroups, 0x1010, RenderSciFiBlips},
        {"Soft Mechanical", "A dampened linear switch: a deep, rounded thock.", kMono44k16,
         kVariants, 5, kTxt, kGroups, 0x1011, RenderSoftMechanical, RenderSoftMechanicalRelease},
        {"Soft Taps", "Fingertips tapping on a wooden desk.", kMono11k16, kVariants, 5, kTxt,
         kGroups, 0x1012, RenderSoftTaps},
        {"Steel Drum", "A Caribbean steel pan, warm and round.", kMono22k16, kNotes, 0, kTxt,
         kEvery, 0x1013, RenderSteelDrum},
        {"Stereo Mechanical", "A linear switch in stereo: each key sounds where it sits.",
         kStereo22k16, LetterPlan::PannedKeys, 5, kTxt, kEvery, 0x1014,
         RenderStereoMechanical, RenderStereoMechanicalRelease},
        {"Typewriter", "A manual typewriter; the carriage bell on Enter.", kMono22k16,
         kVariants, 6, kTxt, kGroups, 0x1015, RenderTypewriter, RenderTypewriterRelease},
        {"Water Drops", "Drops falling into a sink.", kMono22k16, kVariants, 6, kTxt, kEvery,
         0x1016, RenderWaterDrops},
        {"Wood Blocks", "Hollow wood blocks; a high and a low one on Enter.", kMono11k16,
         kVariants, 5, kTxt, kGroups, 0x1017, RenderWoodBlocks, nullptr, RenderWoodBlocksMouse},
    };
    return schemes;
}

}  // namespace schemegen
