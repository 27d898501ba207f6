#pragma once
// One WAV file in memory for one play request: loading, locating the sample data, the sound
// filters and the volume step. Playing is Win32 only (WavePlayer_win.cpp).

#include "audio/Mixer.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <vector>

// Filter numbers as stored in the "Filter" setting; any other number plays unfiltered.
enum SoundFilter : int {
    FilterNone = 0,
    FilterEcho = 1,
    FilterInversion = 2,
    FilterNegate = 3,
    FilterRepeat = 4,
};

// Thrown while loading when the chunk after an 18-byte format chunk is shorter than its own
// first value: the play request ends through its failure path, with no sound.
class WaveHeaderError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class WavePlayer {
public:
    class Wave;
};

class WavePlayer::Wave {
public:
    struct ChunkHeader {
        std::array<uint8_t, 4> id;
        uint32_t size;
    };
    // The format chunk header and the fields of WAVEFORMATEX that follow it (file bytes 12..35).
    struct FormatHeader {
        ChunkHeader chunk;
        uint16_t wFormatTag;
        uint16_t nChannels;
        uint32_t nSamplesPerSec;
        uint32_t nAvgBytesPerSec;
        uint16_t nBlockAlign;
        uint16_t wBitsPerSample;
    };
    // The chunk that follows an 18-byte format chunk: its header and first four payload bytes.
    struct ExtraChunk {
        ChunkHeader chunk;
        std::array<uint8_t, 4> firstValue;
    };

    // Loads the whole file (shared for reading and writing with other programs). A file that
    // cannot be read gives a wave that is not valid; see WaveHeaderError for the one throw.
    explicit Wave(const char* path);
    // The same from a file image already in memory.
    explicit Wave(std::vector<uint8_t> image);

    Wave(const Wave&) = delete;
    Wave& operator=(const Wave&) = delete;

    // Filter, volume and the platform sound call; defined only in the Win32 build.
    void play(unsigned volume, int filter, bool async);

    // Runs the filter numbered filter (0 refreshes playImage from fileImage; unknown numbers do
    // nothing), then the volume step when volume is 100 or less. True when there is a sound
    // to play.
    bool ApplyFilterAndVolume(unsigned volume, int filter);

    // Each filter starts from a fresh copy of the recorded file and rewrites only the samples;
    // false when not valid.
    bool ApplyEcho();
    bool ApplyInversion();
    bool ApplyNegate();
    bool ApplyRepeat();
    // Scales playImage in place; volumes above 100 leave it unchanged. False when not valid.
    bool ApplyVolume(unsigned volume);

    bool IsValid() const { return valid; }
    uint32_t DataOffset() const { return dataOffset; }
    uint32_t DataEnd() const { return dataEnd; }
    uint32_t FileSize() const { return fileSize; }
    const FormatHeader& Format() const { return formatHeader; }
    const uint8_t* PlayImageData() const { return playImage.data(); }
    size_t PlayImageSize() const { return playImage.size(); }
    // The finished image's samples as its format chunk describes them, pointing into
    // playImage; null data when the data chunk does not lie inside the image.
    WaveSamples Samples() const;

    // Hands the finished image to the sound layer, which must keep it alive while it plays;
    // the wave is no longer valid afterwards.
    std::vector<uint8_t> TakePlayImage();

private:
    void LoadFile(const char* path);
    void TakeImage(std::vector<uint8_t> image);
    bool ParseHeaders();
    bool RefreshPlayImage();
    // ApplyVolume's step on a wave known to be valid.
    void ScaleToVolume(unsigned volume);

    std::vector<uint8_t> fileImage;  // the file as read, never modified
    std::vector<uint8_t> playImage;  // what the filters and the volume step rewrite
    uint32_t fileSize = 0;
    uint32_t dataOffset = 0;  // first sample byte, just after the data chunk header
    // Just past the last sample byte, the data chunk's end, which lies inside the file. The
    // filters and the volume step rewrite only the bytes from dataOffset to here.
    uint32_t dataEnd = 0;
    bool valid = false;
    std::array<uint8_t, 12> riffHeader{};
    FormatHeader formatHeader{};
    uint16_t cbSize = 0;
    ExtraChunk extraChunk{};
    ChunkHeader dataHeader{};
};
