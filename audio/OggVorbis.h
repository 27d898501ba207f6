#pragma once
// Ogg Vorbis through stb_vorbis, compiled in OggVorbis.cpp alone so that its warnings stay
// there.

#include "audio/PackAudio.h"

#include <cstddef>
#include <cstdint>

enum class OggVorbisResult { Decoded, TooLong, Failed };

// Mono stays mono; more channels are mixed down to two. Samples are clamped to [-1, 1].
OggVorbisResult DecodeOggVorbis(const uint8_t* data, size_t size, uint32_t maxSeconds,
                                DecodedAudio& sound);
