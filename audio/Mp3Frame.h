#pragma once
// The first MPEG layer III frame header of an MP3 file image, past any ID3v2 tag: enough to
// tell an MP3 from other data and to describe the stream to a codec.

#include <cstddef>
#include <cstdint>

struct Mp3FrameHeader {
    uint32_t sampleRate = 0;
    uint16_t channels = 0;
    uint32_t bitrate = 0;          // bits per second
    uint32_t frameBytes = 0;       // without the padding byte
    uint16_t samplesPerFrame = 0;  // per channel
    bool mpeg1 = false;
};

// Where the first frame starts and what it says; false when no layer III frame header stands
// right after the tag (or at the start when there is none).
bool FindFirstMp3Frame(const uint8_t* data, size_t size, size_t& offset, Mp3FrameHeader& header);
