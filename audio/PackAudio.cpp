#include "audio/PackAudio.h"

#include "audio/LittleEndian.h"
#include "audio/Mp3Frame.h"
#include "audio/OggVorbis.h"
#include "audio/SampleConversion.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagFloat = 3;
constexpr uint16_t kTagExtensible = 0xFFFE;
constexpr size_t kPlainFormatBytes = 16;
constexpr size_t kExtensibleFormatBytes = 40;
constexpr size_t kSubformatOffset = 24;  // its first two bytes are the true format tag
// MP3 runs at 48 kHz at most.
constexpr size_t kMp3FrameCap = size_t(kMaxPackAudioSeconds) * 48000 + 1;


bool Fail(PackAudioFailure& failure, PackAudioError code, std::string detail) {
    failure.code = code;
    failure.detail = std::move(detail);
    return false;
}

bool TooLong(size_t frames, uint32_t rate) { return frames > size_t(kMaxPackAudioSeconds) * rate; }

bool TooLongFailure(PackAudioFailure& failure) {
    return Fail(failure, PackAudioError::TooLong,
                "longer than " + std::to_string(kMaxPackAudioSeconds) + " seconds");
}

struct WavChunks {
    const uint8_t* format = nullptr;
    size_t formatSize = 0;
    const uint8_t* data = nullptr;
    size_t dataSize = 0;
};

// Walks the chunks, honouring the pad byte of odd sizes; a data chunk that claims more than
// the file holds keeps what is there, as players do with an interrupted recording.
bool FindWavChunks(const uint8_t* image, size_t size, WavChunks& chunks) {
    size_t at = 12;
    while (size - at >= 8 && (chunks.format == nullptr || chunks.data == nullptr)) {
        const uint32_t chunkSize = ReadLittle32(image + at + 4);
        const uint8_t* payload = image + at + 8;
        const size_t available = std::min<size_t>(chunkSize, size - at - 8);
        if (std::memcmp(image + at, "fmt ", 4) == 0 && chunks.format == nullptr) {
            chunks.format = payload;
            chunks.formatSize = available;
        } else if (std::memcmp(image + at, "data", 4) == 0 && chunks.data == nullptr) {
            chunks.data = payload;
            chunks.dataSize = available;
        }
        if (available < chunkSize) break;
        at += 8 + size_t(chunkSize) + (chunkSize & 1);
        if (at > size) break;
    }
    return chunks.format != nullptr && chunks.data != nullptr;
}

void DecodeFloat64(const WaveSamples& wave, size_t frames, DecodedAudio& sound) {
    sound.samples.resize(frames * sound.channels);
    for (size_t frame = 0; frame < frames; ++frame) {
        for (unsigned channel = 0; channel < sound.channels; ++channel) {
            double value;
            std::memcpy(&value, wave.data + frame * wave.blockAlign + channel * 8, sizeof value);
            sound.samples[frame * sound.channels + channel] =
                std::isfinite(value) ? float(std::clamp(value, -1.0, 1.0)) : 0.0f;
        }
    }
}

bool DecodeWav(const uint8_t* image, size_t size, DecodedAudio& sound, PackAudioFailure& failure) {
    WavChunks chunks;
    if (!FindWavChunks(image, size, chunks)) {
        return Fail(failure, PackAudioError::Corrupt, "WAV without a format or a data chunk");
    }
    if (chunks.formatSize < kPlainFormatBytes) {
        return Fail(failure, PackAudioError::Corrupt, "WAV format chunk too short");
    }
    WaveSamples wave;
    wave.formatTag = ReadLittle16(chunks.format);
    wave.channels = ReadLittle16(chunks.format + 2);
    wave.sampleRate = ReadLittle32(chunks.format + 4);
    wave.blockAlign = ReadLittle16(chunks.format + 12);
    wave.bitsPerSample = ReadLittle16(chunks.format + 14);
    if (wave.formatTag == kTagExtensible) {
        if (chunks.formatSize < kExtensibleFormatBytes) {
            return Fail(failure, PackAudioError::Corrupt, "WAV extensible format chunk too short");
        }
        wave.formatTag = ReadLittle16(chunks.format + kSubformatOffset);
    }
    const bool float64 = wave.formatTag == kTagFloat && wave.bitsPerSample == 64;
    if (wave.formatTag != kTagPcm && wave.formatTag != kTagFloat) {
        return Fail(failure, PackAudioError::Unsupported,
                    "WAV format tag " + std::to_string(wave.formatTag));
    }
    if (wave.channels == 0 || wave.bitsPerSample == 0 || wave.bitsPerSample % 8 != 0 ||
        wave.blockAlign != wave.channels * (wave.bitsPerSample / 8)) {
        return Fail(failure, PackAudioError::Corrupt, "WAV block size disagrees with its format");
    }
    if (!IsPlausibleSampleRate(wave.sampleRate)) {
        return Fail(failure, PackAudioError::Unsupported,
                    "WAV rate " + std::to_string(wave.sampleRate) + " Hz");
    }
    const size_t frames = chunks.dataSize / wave.blockAlign;
    if (TooLong(frames, wave.sampleRate)) return TooLongFailure(failure);
    wave.data = chunks.data;
    wave.size = frames * wave.blockAlign;
    sound.sampleRate = wave.sampleRate;
    if (float64) {
        sound.channels = std::min<uint16_t>(wave.channels, 2);
        DecodeFloat64(wave, frames, sound);
        return true;
    }
    DecodedSamples decoded;
    if (!DecodeSamples(wave, 2, frames, decoded)) {
        return Fail(failure, PackAudioError::Unsupported,
                    "WAV of " + std::to_string(wave.bitsPerSample) + "-bit samples");
    }
    sound.channels = decoded.channels;
    sound.samples = std::move(decoded.samples);
    return true;
}

bool DecodeMp3(const uint8_t* data, size_t size, const Mp3Decoder& mp3, DecodedAudio& sound,
               PackAudioFailure& failure) {
    if (!mp3) return Fail(failure, PackAudioError::NoMp3Decoder, "no MP3 decoder");
    if (!mp3(data, size, kMp3FrameCap, sound) || sound.channels < 1 || sound.channels > 2 ||
        !IsPlausibleSampleRate(sound.sampleRate) || sound.samples.empty() ||
        sound.samples.size() % sound.channels != 0) {
        return Fail(failure, PackAudioError::Corrupt, "MP3 stream the decoder cannot read");
    }
    if (TooLong(sound.Frames(), sound.sampleRate)) return TooLongFailure(failure);
    return true;
}

bool IsWav(const uint8_t* data, size_t size) {
    return size >= 12 && std::memcmp(data, "RIFF", 4) == 0 && std::memcmp(data + 8, "WAVE", 4) == 0;
}

bool IsOgg(const uint8_t* data, size_t size) {
    return size >= 4 && std::memcmp(data, "OggS", 4) == 0;
}

}  // namespace

bool DecodePackAudio(const uint8_t* data, size_t size, const Mp3Decoder& mp3, DecodedAudio& sound,
                     PackAudioFailure& failure) {
    sound = DecodedAudio{};
    if (size > kMaxPackAudioBytes) {
        return Fail(failure, PackAudioError::TooLarge, std::to_string(size) + " bytes");
    }
    bool decoded = false;
    size_t mp3Offset = 0;
    Mp3FrameHeader mp3Header;
    if (IsWav(data, size)) {
        decoded = DecodeWav(data, size, sound, failure);
    } else if (IsOgg(data, size)) {
        OggVorbisResult result = DecodeOggVorbis(data, size, kMaxPackAudioSeconds, sound);
        decoded = result == OggVorbisResult::Decoded;
        if (result == OggVorbisResult::TooLong) TooLongFailure(failure);
        if (result == OggVorbisResult::Failed) {
            Fail(failure, PackAudioError::Corrupt, "Ogg Vorbis stream the decoder cannot read");
        }
    } else if (FindFirstMp3Frame(data, size, mp3Offset, mp3Header)) {
        decoded = DecodeMp3(data, size, mp3, sound, failure);
    } else {
        Fail(failure, PackAudioError::UnknownFormat, "neither WAV, Ogg Vorbis nor MP3");
    }
    if (!decoded) sound = DecodedAudio{};
    return decoded;
}
