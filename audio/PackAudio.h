#pragma once
// A sound pack's audio file (Ogg Vorbis, WAV or MP3) decoded to float samples at its own rate.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Bigger files are refused before decoding; the largest packs seen hold a few megabytes.
constexpr size_t kMaxPackAudioBytes = 32u << 20;
// Longer sounds are refused while decoding, whatever the header claims.
constexpr uint32_t kMaxPackAudioSeconds = 600;

struct DecodedAudio {
    std::vector<float> samples;  // interleaved, in [-1, 1]
    uint32_t sampleRate = 0;
    uint16_t channels = 0;  // 1 or 2

    size_t Frames() const { return channels == 0 ? 0 : samples.size() / channels; }
};

enum class PackAudioError {
    None,
    TooLarge,      // the file is over kMaxPackAudioBytes
    TooLong,       // the decoded sound is over kMaxPackAudioSeconds
    UnknownFormat, // neither RIFF WAVE, Ogg nor MP3
    Unsupported,   // a WAV encoding other than PCM and float, or an odd rate or depth
    Corrupt,       // the decoder gave up, or the headers do not describe the bytes
    NoMp3Decoder,
};

struct PackAudioFailure {
    PackAudioError code = PackAudioError::None;
    std::string detail;  // what the decoder found wrong, in English
};

// Decodes an MP3 image into sound, keeping at most maxFrames frames; false when it cannot.
// The platform supplies it (Mp3Decode_win.h); tests pass their own.
using Mp3Decoder =
    std::function<bool(const uint8_t* data, size_t size, size_t maxFrames, DecodedAudio& sound)>;

// The format is told from the bytes, not the file name. More than two channels keep the
// first two.
bool DecodePackAudio(const uint8_t* data, size_t size, const Mp3Decoder& mp3, DecodedAudio& sound,
                     PackAudioFailure& failure);
