#pragma once
#include "tools/schemegen/Scheme.h"

// One render function per bundled scheme; the catalogue pairs each with its name and format.
namespace schemegen {

// Keyboards and typewriter.
Samples RenderClickyMechanical(const SoundRequest& request, Synth& synth);
Samples RenderSoftMechanical(const SoundRequest& request, Synth& synth);
Samples RenderStereoMechanical(const SoundRequest& request, Synth& synth);
Samples RenderMembrane(const SoundRequest& request, Synth& synth);
Samples RenderLaptopKeys(const SoundRequest& request, Synth& synth);
Samples RenderTypewriter(const SoundRequest& request, Synth& synth);

// Their keys' releases.
Samples RenderClickyMechanicalRelease(const SoundRequest& request, Synth& synth);
Samples RenderSoftMechanicalRelease(const SoundRequest& request, Synth& synth);
Samples RenderStereoMechanicalRelease(const SoundRequest& request, Synth& synth);
Samples RenderMembraneRelease(const SoundRequest& request, Synth& synth);
Samples RenderLaptopKeysRelease(const SoundRequest& request, Synth& synth);
Samples RenderTypewriterRelease(const SoundRequest& request, Synth& synth);

// Mouse buttons, for the schemes that give them sounds.
Samples RenderClickyMechanicalMouse(const SoundRequest& request, Synth& synth);
Samples RenderLaptopKeysMouse(const SoundRequest& request, Synth& synth);
Samples RenderWoodBlocksMouse(const SoundRequest& request, Synth& synth);
Samples RenderDrumKitMouse(const SoundRequest& request, Synth& synth);

// Untuned percussion.
Samples RenderWoodBlocks(const SoundRequest& request, Synth& synth);
Samples RenderDrumKit(const SoundRequest& request, Synth& synth);
Samples RenderClockTick(const SoundRequest& request, Synth& synth);
Samples RenderPebbles(const SoundRequest& request, Synth& synth);
Samples RenderSoftTaps(const SoundRequest& request, Synth& synth);

// Tuned instruments.
Samples RenderMarimba(const SoundRequest& request, Synth& synth);
Samples RenderPiano(const SoundRequest& request, Synth& synth);
Samples RenderBells(const SoundRequest& request, Synth& synth);
Samples RenderGlassChimes(const SoundRequest& request, Synth& synth);
Samples RenderKalimba(const SoundRequest& request, Synth& synth);
Samples RenderMusicBox(const SoundRequest& request, Synth& synth);
Samples RenderSteelDrum(const SoundRequest& request, Synth& synth);

// Water, air and synthesisers.
Samples RenderBubbles(const SoundRequest& request, Synth& synth);
Samples RenderWaterDrops(const SoundRequest& request, Synth& synth);
Samples RenderPop(const SoundRequest& request, Synth& synth);
Samples RenderRetro8Bit(const SoundRequest& request, Synth& synth);
Samples RenderSciFiBlips(const SoundRequest& request, Synth& synth);

}  // namespace schemegen
