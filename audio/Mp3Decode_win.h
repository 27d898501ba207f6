#pragma once
// MP3 through the platform's ACM MP3 codec (present on Windows and in Wine).

#include "audio/PackAudio.h"

#include <cstddef>
#include <cstdint>

// Fits Mp3Decoder: skips an ID3v2 tag, reads the rate and channels from the first frame
// header, and converts through the codec to 16-bit PCM. False when no codec accepts the
// stream or it yields no sound.
bool DecodeMp3WithAcm(const uint8_t* data, size_t size, size_t maxFrames, DecodedAudio& sound);
