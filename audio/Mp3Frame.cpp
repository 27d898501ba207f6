#include "audio/Mp3Frame.h"

namespace {

constexpr size_t kId3HeaderBytes = 10;
constexpr uint8_t kId3FooterFlag = 0x10;

// Layer III bitrates in kbit/s by index, for MPEG-1 and for MPEG-2 and 2.5; 0 is "free",
// which no codec here takes.
constexpr uint16_t kBitratesMpeg1[16] = {0,   32,  40,  48,  56,  64,  80,  96,
                                         112, 128, 160, 192, 224, 256, 320, 0};
constexpr uint16_t kBitratesMpeg2[16] = {0,  8,  16, 24,  32,  40,  48,  56,
                                         64, 80, 96, 112, 128, 144, 160, 0};
constexpr uint32_t kRatesMpeg1[3] = {44100, 48000, 32000};

// The tag's length, header and footer included; 0 when there is no tag.
size_t Id3v2Length(const uint8_t* data, size_t size) {
    if (size < kId3HeaderBytes || data[0] != 'I' || data[1] != 'D' || data[2] != '3') return 0;
    size_t length = 0;
    for (int i = 6; i < 10; ++i) length = length << 7 | (data[i] & 0x7F);  // syncsafe
    length += kId3HeaderBytes;
    if (data[5] & kId3FooterFlag) length += kId3HeaderBytes;
    return length;
}

bool ParseHeader(const uint8_t* at, Mp3FrameHeader& header) {
    if (at[0] != 0xFF || (at[1] & 0xE0) != 0xE0) return false;
    const unsigned version = (at[1] >> 3) & 3;  // 3 MPEG-1, 2 MPEG-2, 0 MPEG-2.5
    const unsigned layer = (at[1] >> 1) & 3;    // 1 is layer III
    const unsigned bitrateIndex = at[2] >> 4;
    const unsigned rateIndex = (at[2] >> 2) & 3;
    if (version == 1 || layer != 1 || rateIndex == 3) return false;
    header.mpeg1 = version == 3;
    const uint16_t kbits = header.mpeg1 ? kBitratesMpeg1[bitrateIndex] : kBitratesMpeg2[bitrateIndex];
    if (kbits == 0) return false;
    header.sampleRate = kRatesMpeg1[rateIndex] >> (version == 3 ? 0 : version == 2 ? 1 : 2);
    header.channels = (at[3] >> 6) == 3 ? 1 : 2;
    header.bitrate = kbits * 1000u;
    header.samplesPerFrame = header.mpeg1 ? 1152 : 576;
    header.frameBytes = header.samplesPerFrame / 8 * header.bitrate / header.sampleRate;
    return true;
}

}  // namespace

bool FindFirstMp3Frame(const uint8_t* data, size_t size, size_t& offset, Mp3FrameHeader& header) {
    offset = Id3v2Length(data, size);
    return offset < size && size - offset >= 4 && ParseHeader(data + offset, header);
}
