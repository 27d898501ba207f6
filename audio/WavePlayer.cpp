#include "audio/WavePlayer.h"

#include "audio/LittleEndian.h"
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <utility>

namespace {

// Fixed offsets of the layout the loader trusts.
constexpr size_t kFormatHeaderOffset = 12;
constexpr size_t kFormatHeaderEnd = 36;      // the chunk after a 16-byte format
constexpr size_t kExtraChunkOffset = 38;     // the chunk after an 18-byte format, past cbSize
constexpr size_t kExtraChunkEnd = 50;
constexpr size_t kExtraPayloadOffset = 46;   // the extra chunk's payload, of its stated size
constexpr size_t kChunkHeaderSize = 8;
constexpr uint32_t kEchoMilliseconds = 50;

int ReadSample16(const uint8_t* at) { return int16_t(ReadLittle16(at)); }

void WriteSample16(uint8_t* at, int value) {
    at[0] = uint8_t(value & 0xFF);
    at[1] = uint8_t((value >> 8) & 0xFF);
}

WavePlayer::Wave::ChunkHeader ReadChunkHeader(const uint8_t* at) {
    WavePlayer::Wave::ChunkHeader header;
    std::copy_n(at, header.id.size(), header.id.begin());
    header.size = ReadLittle32(at + 4);
    return header;
}

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FileHolder = std::unique_ptr<FILE, FileCloser>;

// The size of an open plain file; anything else (a folder, a device) is not a sound.
bool RegularFileSize(FILE* file, uint64_t& size) {
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
        return false;
    }
    size = uint64_t(info.st_size);
    return true;
}

// The rounding rule of the volume step: y truncated toward zero, plus one when the part cut
// off is at least one half (so only positive products round up). Products stay far inside the
// range of int, where conversion truncates exactly as trunc() does, without a library call.
struct TruncatedProduct {
    int truncated;
    int roundUp;
};

TruncatedProduct Truncate(double y) {
    const int truncated = int(y);
    return {truncated, y - truncated >= 0.5 ? 1 : 0};
}

}  // namespace

WavePlayer::Wave::Wave(const char* path) { LoadFile(path); }

WavePlayer::Wave::Wave(std::vector<uint8_t> image) { TakeImage(std::move(image)); }

void WavePlayer::Wave::LoadFile(const char* path) {
    if (path == nullptr) return;
    // Binary mode; the C runtime's default sharing lets other programs read and write meanwhile.
    FileHolder file(std::fopen(path, "rb"));
    if (!file) return;
    // One read of the whole file: a stream buffer would only add a copy.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    uint64_t size = 0;
    if (!RegularFileSize(file.get(), size) || size > std::numeric_limits<uint32_t>::max()) return;
    std::vector<uint8_t> image(static_cast<size_t>(size));
    // A file that shrank since its size was taken is not the sound it claimed to be.
    if (std::fread(image.data(), 1, image.size(), file.get()) != image.size()) return;
    TakeImage(std::move(image));
}

void WavePlayer::Wave::TakeImage(std::vector<uint8_t> image) {
    if (image.size() > std::numeric_limits<uint32_t>::max()) return;
    fileImage = std::move(image);
    fileSize = uint32_t(fileImage.size());
    valid = ParseHeaders();
}

bool WavePlayer::Wave::ParseHeaders() {
    playImage = fileImage;
    const uint8_t* bytes = fileImage.data();
    const size_t size = fileImage.size();
    if (size < kFormatHeaderEnd) return false;

    std::copy_n(bytes, riffHeader.size(), riffHeader.begin());
    const uint8_t* format = bytes + kFormatHeaderOffset;
    formatHeader.chunk = ReadChunkHeader(format);
    formatHeader.wFormatTag = ReadLittle16(format + 8);
    formatHeader.nChannels = ReadLittle16(format + 10);
    formatHeader.nSamplesPerSec = ReadLittle32(format + 12);
    formatHeader.nAvgBytesPerSec = ReadLittle32(format + 16);
    formatHeader.nBlockAlign = ReadLittle16(format + 20);
    formatHeader.wBitsPerSample = ReadLittle16(format + 22);

    size_t chunkAt = kFormatHeaderEnd;
    if (formatHeader.chunk.size == 18) {
        if (size < kExtraChunkEnd) return false;
        cbSize = ReadLittle16(bytes + kFormatHeaderEnd);
        extraChunk.chunk = ReadChunkHeader(bytes + kExtraChunkOffset);
        std::copy_n(bytes + kExtraPayloadOffset, extraChunk.firstValue.size(),
                    extraChunk.firstValue.begin());
        if (extraChunk.chunk.size < extraChunk.firstValue.size()) {
            throw WaveHeaderError("chunk after the format chunk is shorter than 4 bytes");
        }
        chunkAt = kExtraChunkOffset;
    } else if (formatHeader.chunk.size != 16) {
        return false;
    }

    // Chunk by chunk, as the platform reads the file when it plays it, so the samples found
    // here are the ones it plays and no other chunk is mistaken for them. 64 bits: chunk sizes
    // come from the file and may be anything.
    for (uint64_t at = chunkAt; at + kChunkHeaderSize <= size;) {
        const ChunkHeader chunk = ReadChunkHeader(bytes + at);
        const uint64_t payload = at + kChunkHeaderSize;
        if (std::memcmp(chunk.id.data(), "data", chunk.id.size()) == 0) {
            // The platform plays as many bytes as the chunk claims, read from memory without a
            // bound, so a file cut inside its samples (one half written) is no sound at all.
            if (payload + chunk.size > size) return false;
            dataHeader = chunk;
            dataOffset = uint32_t(payload);
            dataEnd = uint32_t(payload + chunk.size);
            return true;
        }
        at = payload + chunk.size + (chunk.size & 1);  // odd chunks carry a pad byte
    }
    return false;
}

std::vector<uint8_t> WavePlayer::Wave::TakePlayImage() {
    valid = false;
    return std::move(playImage);
}

// The common start of every filter, and with it the test that there is a sound at all.
bool WavePlayer::Wave::RefreshPlayImage() {
    if (!valid) return false;
    playImage.assign(fileImage.begin(), fileImage.end());
    return true;
}

bool WavePlayer::Wave::ApplyFilterAndVolume(unsigned volume, int filter) {
    bool filtered = false;
    switch (filter) {
        case FilterNone: filtered = RefreshPlayImage(); break;
        case FilterEcho: filtered = ApplyEcho(); break;
        case FilterInversion: filtered = ApplyInversion(); break;
        case FilterNegate: filtered = ApplyNegate(); break;
        case FilterRepeat: filtered = ApplyRepeat(); break;
        default: filtered = valid; break;  // unknown filters play the copy made at loading
    }
    if (!filtered) return false;
    ScaleToVolume(volume);
    return true;
}

bool WavePlayer::Wave::ApplyEcho() {
    if (!RefreshPlayImage()) return false;
    const size_t end = dataEnd;
    const uint32_t dataLength = dataEnd - dataOffset;
    // Unsigned 32-bit arithmetic, wrapping as the delay always has.
    uint32_t delay = formatHeader.nSamplesPerSec / 1000 * formatHeader.nBlockAlign *
                     kEchoMilliseconds;
    if (delay > dataLength) delay = dataLength >> 1;

    // A delay of 0 (no block size, or a rate under 1 kHz) mixes each sample with itself.
    uint8_t* samples = playImage.data();
    if (formatHeader.wBitsPerSample == 8) {
        for (size_t i = dataOffset + size_t(delay); i + 2 < end; i += 2) {
            for (size_t k = i; k < i + 2; ++k) {
                samples[k] = uint8_t((samples[k - delay] >> 1) + (samples[k] >> 1));
            }
        }
    } else if (formatHeader.wBitsPerSample == 16) {
        for (size_t i = dataOffset + size_t(delay); i + 4 < end; i += 4) {
            for (size_t k = i; k < i + 4; k += 2) {
                // Two halves of 16-bit samples always add up to a 16-bit sample.
                WriteSample16(samples + k, ReadSample16(samples + k) / 2 +
                                               ReadSample16(samples + k - delay) / 2);
            }
        }
    }
    return true;
}

bool WavePlayer::Wave::ApplyInversion() {
    if (!RefreshPlayImage()) return false;
    const size_t frameSize = formatHeader.nBlockAlign;
    if (frameSize == 0) return true;  // no frames to reverse
    size_t length = dataEnd - dataOffset;
    length -= length % frameSize;
    length -= length % 2;
    uint8_t* data = playImage.data() + dataOffset;
    for (size_t k = 0; k < length / (2 * frameSize); ++k) {
        uint8_t* front = data + k * frameSize;
        std::swap_ranges(front, front + frameSize, data + length - (k + 1) * frameSize);
    }
    return true;
}

bool WavePlayer::Wave::ApplyNegate() {
    if (!RefreshPlayImage()) return false;
    if (formatHeader.wBitsPerSample == 8) {
        for (size_t i = dataOffset; i < dataEnd; ++i) playImage[i] = uint8_t(255 - fileImage[i]);
    }
    return true;
}

bool WavePlayer::Wave::ApplyRepeat() {
    if (!RefreshPlayImage()) return false;
    const size_t channels = formatHeader.nChannels;
    // Only 8-bit sounds are repeated; without channels no group of samples can be formed.
    if (formatHeader.wBitsPerSample != 8 || channels == 0) return true;
    const size_t end = dataEnd;
    for (size_t e = dataOffset; e + 2 * channels < end; e += 2 * channels) {
        const size_t source = dataOffset + (e - dataOffset) / channels;
        size_t i = e;
        for (size_t j = 0; j < channels; ++j) {
            playImage[i] = playImage[i + 1] = fileImage[source + j];
            if (i + 2 < end && j + 1 < channels) i += 2;
        }
    }
    return true;
}

bool WavePlayer::Wave::ApplyVolume(unsigned volume) {
    if (!valid) return false;
    ScaleToVolume(volume);
    return true;
}

void WavePlayer::Wave::ScaleToVolume(unsigned volume) {
    if (volume > 100) return;
    const double factor = volume / 100.0;
    uint8_t* samples = playImage.data();
    if (formatHeader.wBitsPerSample == 8) {
        for (size_t i = dataOffset; i < dataEnd; ++i) {
            const TruncatedProduct y = Truncate((samples[i] - 128) * factor);
            samples[i] = uint8_t(y.truncated + 128 + y.roundUp);
        }
    } else if (formatHeader.wBitsPerSample == 16) {
        for (size_t i = dataOffset; i + 1 < dataEnd; i += 2) {
            const double y = ReadSample16(samples + i) * factor;
            WriteSample16(samples + i, int(y + Truncate(y).roundUp));
        }
    }
}

WaveSamples WavePlayer::Wave::Samples() const {
    WaveSamples samples;
    samples.formatTag = formatHeader.wFormatTag;
    samples.channels = formatHeader.nChannels;
    samples.sampleRate = formatHeader.nSamplesPerSec;
    samples.blockAlign = formatHeader.nBlockAlign;
    samples.bitsPerSample = formatHeader.wBitsPerSample;
    if (dataOffset <= dataEnd && dataEnd <= playImage.size()) {
        samples.data = playImage.data() + dataOffset;
        samples.size = dataEnd - dataOffset;
    }
    return samples;
}
