#pragma once
// The platform side of playback. An asynchronous sound from memory is read by the platform
// after the play call has returned, so its image is kept here, not in the Wave that made it,
// until the next play request or the stop below.

#include <cstddef>
#include <cstdint>

struct PlayingWaveImage {
    const uint8_t* data;
    size_t size;
};

// The image the platform may still be reading; empty (null, 0) when there is none.
PlayingWaveImage CurrentPlayingWaveImage();

// Stops the sound still playing, then frees its image. Also runs by itself at process exit.
void StopWavePlayback();
