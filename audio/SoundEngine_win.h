#pragma once
// Which engine plays the finished WAV images. Off: the platform's PlaySoundA, one sound at a
// time, each new sound cutting the one before. On: the overlap engine, one held output stream
// and a voice per sound. Main thread only.

struct WaveSamples;

// Opens the overlap engine's stream (on) or closes it (off); also at process exit. Asking for
// the state the engine is in already changes nothing, so an open stream is never reopened.
void UseOverlapEngine(bool overlap);

bool OverlapEngineInUse();

// Hands a finished sound to the overlap engine. False when the engine is off, has no device,
// or refused the sound; never waits for the render thread.
bool PlayOnOverlapEngine(const WaveSamples& sound);
