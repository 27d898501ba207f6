#include "audio/OggVorbis.h"

#include "audio/LittleEndian.h"
#include "audio/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

// The decoder's own source, built in this file alone; its folder is a system include folder
// of this library, so its warnings are not ours.
#define STB_VORBIS_NO_STDIO
#define STB_VORBIS_NO_PUSHDATA_API
#include <stb_vorbis.h>
#undef L
#undef C
#undef R

namespace {

constexpr int kChunkFrames = 4096;
// The decoder works inside an arena of ours: its memory is bounded, and what it allocates on
// a failed open (which it does not always free) goes with the arena. Each open that runs out
// tries the next size.
constexpr size_t kArenaBytes[] = {256u << 10, 1u << 20, 4u << 20, 16u << 20};

// The decoder reads a comment count from the file and, when it cannot allocate that many
// comments, fails and then walks the missing list while cleaning up. So the comment header is
// measured here first: the arena is made big enough for it, and absurd ones are refused.
constexpr size_t kMostCommentBytes = 4u << 20;
constexpr size_t kPageHeaderBytes = 27;

size_t Align8(size_t bytes) { return (bytes + 7) & ~size_t(7); }

// The stream's second packet, the comment header, gathered from its pages; false when the
// pages do not hold it whole or it is over the limit.
bool CommentPacket(const uint8_t* data, size_t size, std::vector<uint8_t>& packet) {
    int packetIndex = 0;
    size_t page = 0;
    while (size - page >= kPageHeaderBytes && std::memcmp(data + page, "OggS", 4) == 0) {
        const size_t segments = data[page + 26];
        if (size - page - kPageHeaderBytes < segments) return false;
        size_t body = page + kPageHeaderBytes + segments;
        for (size_t segment = 0; segment < segments; ++segment) {
            const size_t lace = data[page + kPageHeaderBytes + segment];
            if (size - body < lace) return false;
            if (packetIndex == 1) packet.insert(packet.end(), data + body, data + body + lace);
            if (packet.size() > kMostCommentBytes) return false;
            body += lace;
            if (lace < 255 && ++packetIndex == 2) return true;
        }
        page = body;
    }
    return false;
}

// Arena bytes the decoder's copy of the comments takes; false when the header is malformed.
bool CommentBytes(const uint8_t* data, size_t size, size_t& bytes) {
    std::vector<uint8_t> packet;
    if (!CommentPacket(data, size, packet) || packet.size() < 11) return false;
    size_t at = 7;  // the packet type and "vorbis"
    const uint32_t vendor = ReadLittle32(&packet[at]);
    at += 4;
    if (packet.size() - at < uint64_t(vendor) + 4) return false;
    at += vendor;
    const uint32_t count = ReadLittle32(&packet[at]);
    at += 4;
    if ((packet.size() - at) / 4 < count) return false;
    bytes = Align8(vendor + size_t(1)) + Align8(sizeof(char*) * count);
    for (uint32_t i = 0; i < count; ++i) {
        if (packet.size() - at < 4) return false;
        const uint32_t length = ReadLittle32(&packet[at]);
        at += 4;
        if (packet.size() - at < length) return false;
        at += length;
        bytes += Align8(length + size_t(1));
    }
    return true;
}

struct VorbisCloser {
    void operator()(stb_vorbis* vorbis) const { stb_vorbis_close(vorbis); }
};
using VorbisHolder = std::unique_ptr<stb_vorbis, VorbisCloser>;

}  // namespace

OggVorbisResult DecodeOggVorbis(const uint8_t* data, size_t size, uint32_t maxSeconds,
                                DecodedAudio& sound) {
    if (size > size_t(INT_MAX)) return OggVorbisResult::Failed;
    size_t commentBytes = 0;
    if (!CommentBytes(data, size, commentBytes)) return OggVorbisResult::Failed;
    std::vector<char> arena;  // declared before the decoder, so it outlives it
    VorbisHolder vorbis;
    for (size_t arenaBytes : kArenaBytes) {
        arena.assign(commentBytes + arenaBytes, 0);
        const stb_vorbis_alloc alloc{arena.data(), int(arena.size())};
        int error = 0;
        vorbis.reset(stb_vorbis_open_memory(data, int(size), &error, &alloc));
        if (vorbis || error != VORBIS_outofmem) break;
    }
    if (!vorbis) return OggVorbisResult::Failed;
    const stb_vorbis_info info = stb_vorbis_get_info(vorbis.get());
    if (info.channels < 1 || !IsPlausibleSampleRate(info.sample_rate)) {
        return OggVorbisResult::Failed;
    }
    sound.sampleRate = info.sample_rate;
    sound.channels = uint16_t(std::min(info.channels, 2));
    const size_t maxFrames = size_t(maxSeconds) * sound.sampleRate;
    std::vector<float> chunk(size_t(kChunkFrames) * sound.channels);
    for (;;) {
        const int frames = stb_vorbis_get_samples_float_interleaved(
            vorbis.get(), sound.channels, chunk.data(), int(chunk.size()));
        if (frames <= 0) break;
        if (sound.Frames() + size_t(frames) > maxFrames) return OggVorbisResult::TooLong;
        sound.samples.insert(sound.samples.end(), chunk.begin(),
                             chunk.begin() + size_t(frames) * sound.channels);
    }
    if (sound.samples.empty()) return OggVorbisResult::Failed;
    for (float& sample : sound.samples) {
        sample = std::isfinite(sample) ? std::clamp(sample, -1.0f, 1.0f) : 0.0f;
    }
    return OggVorbisResult::Decoded;
}
