#include "audio/PackAudio.h"

#include "audio/Mp3Frame.h"
#include "embedded/tone_mono22k.ogg.h"
#include "embedded/tone_stereo44k.mp3.h"
#include "embedded/tone_stereo44k.ogg.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

template <size_t size>
Bytes FileBytes(const unsigned char (&file)[size]) {
    return Bytes(file, file + size);
}

void Put(Bytes& out, uint64_t value, unsigned bytes) {
    for (unsigned i = 0; i < bytes; ++i) out.push_back(uint8_t(value >> (8 * i)));
}
void PutText(Bytes& out, const char* text) { out.insert(out.end(), text, text + std::strlen(text)); }

struct WavForm {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 8000;
    uint16_t bits = 16;
    uint16_t subformat = 0;  // with tag 0xFFFE
    int64_t blockAlign = -1;  // -1: the right one
};

// A WAV of the given form holding one frame per value, each channel v, -v/2, v, ...
Bytes MakeWav(const WavForm& form, const std::vector<double>& values, const Bytes& before = {}) {
    const unsigned sampleBytes = form.bits / 8;
    Bytes samples;
    for (double value : values) {
        for (unsigned channel = 0; channel < form.channels; ++channel) {
            const double v = channel % 2 ? -value / 2 : value;
            const uint16_t type = form.tag == 0xFFFE ? form.subformat : form.tag;
            if (type == 3 && form.bits == 32) {
                float f = float(v);
                uint32_t raw;
                std::memcpy(&raw, &f, 4);
                Put(samples, raw, 4);
            } else if (type == 3) {
                uint64_t raw;
                std::memcpy(&raw, &v, 8);
                Put(samples, raw, 8);
            } else if (form.bits == 8) {
                samples.push_back(uint8_t(128 + std::lround(v * 128)));
            } else {
                Put(samples, uint64_t(std::llround(v * double(1ull << (form.bits - 1)))), sampleBytes);
            }
        }
    }
    const uint16_t block = form.blockAlign >= 0 ? uint16_t(form.blockAlign) : uint16_t(form.channels * sampleBytes);
    Bytes fmt;
    Put(fmt, form.tag, 2);
    Put(fmt, form.channels, 2);
    Put(fmt, form.rate, 4);
    Put(fmt, form.rate * block, 4);
    Put(fmt, block, 2);
    Put(fmt, form.bits, 2);
    if (form.tag == 0xFFFE) {
        Put(fmt, 22, 2);
        Put(fmt, form.bits, 2);
        Put(fmt, 3, 4);  // channel mask
        Put(fmt, form.subformat, 2);
        PutText(fmt, "\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71");
        fmt.resize(40);  // the GUID's tail holds a zero byte that strlen stops at
    }
    Bytes wav;
    PutText(wav, "RIFF");
    Put(wav, 0, 4);
    PutText(wav, "WAVE");
    PutText(wav, "fmt ");
    Put(wav, fmt.size(), 4);
    wav.insert(wav.end(), fmt.begin(), fmt.end());
    wav.insert(wav.end(), before.begin(), before.end());
    PutText(wav, "data");
    Put(wav, samples.size(), 4);
    wav.insert(wav.end(), samples.begin(), samples.end());
    return wav;
}

bool Decode(const Bytes& image, DecodedAudio& sound, PackAudioFailure& failure, const Mp3Decoder& mp3 = {}) {
    return DecodePackAudio(image.data(), image.size(), mp3, sound, failure);
}

TEST(PackAudio, DecodesEveryWavForm) {
    const Bytes oddChunk = {'L', 'I', 'S', 'T', 3, 0, 0, 0, 'a', 'b', 'c', 0};  // and its pad byte
    struct Case {
        const char* what;
        WavForm form;
        Bytes before;
        uint16_t channels;
        double tolerance;
    };
    const Case cases[] = {
        {"8-bit", {1, 1, 8000, 8}, {}, 1, 1.0 / 128},
        {"16-bit stereo", {1, 2, 44100, 16}, {}, 2, 1.0 / 32768},
        {"24-bit", {1, 1, 48000, 24}, {}, 1, 1e-6},
        {"32-bit", {1, 2, 96000, 32}, {}, 2, 1e-6},
        {"32-bit float", {3, 1, 22050, 32}, {}, 1, 1e-7},
        {"64-bit float", {3, 2, 22050, 64}, {}, 2, 1e-7},
        {"extensible 16-bit", {0xFFFE, 2, 44100, 16, 1}, {}, 2, 1.0 / 32768},
        {"extensible float", {0xFFFE, 1, 44100, 32, 3}, {}, 1, 1e-7},
        {"four channels keep two", {1, 4, 8000, 16}, {}, 2, 1.0 / 32768},
        {"odd chunk before the data", {1, 1, 8000, 16}, oddChunk, 1, 1.0 / 32768},
    };
    const std::vector<double> values = {0.5, -0.75, 0.25, 0.0};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedAudio sound;
        PackAudioFailure failure;
        ASSERT_TRUE(Decode(MakeWav(c.form, values, c.before), sound, failure)) << failure.detail;
        EXPECT_EQ(sound.sampleRate, c.form.rate);
        ASSERT_EQ(sound.channels, c.channels);
        ASSERT_EQ(sound.Frames(), values.size());
        for (size_t frame = 0; frame < values.size(); ++frame) {
            EXPECT_NEAR(sound.samples[frame * c.channels], values[frame], c.tolerance);
            if (c.channels == 2) {
                EXPECT_NEAR(sound.samples[frame * 2 + 1], -values[frame] / 2, c.tolerance);
            }
        }
    }
}

TEST(PackAudio, KeepsTheFramesOfADataChunkCutShort) {
    Bytes wav = MakeWav({}, {0.5, 0.5, 0.5});
    wav.pop_back();  // the last frame loses a byte
    DecodedAudio sound;
    PackAudioFailure failure;
    ASSERT_TRUE(Decode(wav, sound, failure));
    EXPECT_EQ(sound.Frames(), 2u);
}

// A 440 Hz sine crosses zero 880 times a second.
size_t ZeroCrossings(const DecodedAudio& sound) {
    size_t crossings = 0;
    for (size_t frame = 1; frame < sound.Frames(); ++frame) {
        crossings += (sound.samples[(frame - 1) * sound.channels] < 0) != (sound.samples[frame * sound.channels] < 0);
    }
    return crossings;
}

TEST(PackAudio, DecodesOggVorbisTones) {
    struct Case {
        Bytes file;
        uint32_t rate;
        uint16_t channels;
        double seconds;
    };
    const Case cases[] = {
        {FileBytes(ktone_mono22k_ogg), 22050, 1, 0.5},
        {FileBytes(ktone_stereo44k_ogg), 44100, 2, 0.25},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rate);
        DecodedAudio sound;
        PackAudioFailure failure;
        ASSERT_TRUE(Decode(c.file, sound, failure)) << failure.detail;
        EXPECT_EQ(sound.sampleRate, c.rate);
        EXPECT_EQ(sound.channels, c.channels);
        EXPECT_EQ(sound.Frames(), size_t(c.rate * c.seconds));
        EXPECT_NEAR(double(ZeroCrossings(sound)), 880 * c.seconds, 880 * c.seconds * 0.05);
        float peak = 0;
        for (float sample : sound.samples) peak = std::max(peak, std::fabs(sample));
        EXPECT_NEAR(peak, 0.5, 0.1);
    }
}

TEST(PackAudio, HandsMp3ToTheDecoderGiven) {
    const Bytes mp3 = FileBytes(ktone_stereo44k_mp3);
    size_t seenSize = 0;
    const Mp3Decoder decoder = [&](const uint8_t*, size_t size, size_t maxFrames, DecodedAudio& sound) {
        seenSize = size;
        EXPECT_GE(maxFrames, size_t(kMaxPackAudioSeconds) * 48000);
        sound.sampleRate = 44100;
        sound.channels = 2;
        sound.samples = {0.25f, -0.25f};
        return true;
    };
    DecodedAudio sound;
    PackAudioFailure failure;
    ASSERT_TRUE(Decode(mp3, sound, failure, decoder)) << failure.detail;
    EXPECT_EQ(seenSize, mp3.size());
    EXPECT_EQ(sound.samples, (std::vector<float>{0.25f, -0.25f}));
}

TEST(PackAudio, RefusesWhatItCannotPlay) {
    WavForm adpcm{2, 1, 8000, 4};
    WavForm extensibleAdpcm{0xFFFE, 1, 8000, 16, 2};
    WavForm twelveBit{1, 1, 8000, 12, 0, 2};
    WavForm wrongBlock{1, 2, 8000, 16, 0, 2};
    WavForm noRate{1, 1, 0, 16};
    const Bytes ogg = FileBytes(ktone_mono22k_ogg);
    const Bytes mp3 = FileBytes(ktone_stereo44k_mp3);
    // A comment count far beyond what the comment header holds.
    Bytes manyComments = ogg;
    const uint8_t commentHeader[] = {3, 'v', 'o', 'r', 'b', 'i', 's'};
    size_t count = size_t(std::search(ogg.begin(), ogg.end(), commentHeader, commentHeader + 7) - ogg.begin()) + 7;
    count += 4 + manyComments[count];
    for (int i = 0; i < 4; ++i) manyComments[count + i] = i == 3 ? 0x7F : 0xFF;
    Bytes garbledOgg = ogg;
    for (size_t i = 200; i < garbledOgg.size(); i += 7) garbledOgg[i] ^= 0x5A;
    const Bytes tenMinutesAndOne = MakeWav({1, 1, 1000, 8}, std::vector<double>(600 * 1000 + 1, 0.0));
    Bytes noData = MakeWav({}, {0.5});
    std::memcpy(&noData[36], "date", 4);
    Bytes hugeChunk = MakeWav({}, {0.5}, {'j', 'u', 'n', 'k', 0xFF, 0xFF, 0xFF, 0xFF});
    Bytes shortFormat = MakeWav({}, {0.5});
    shortFormat[16] = 14;

    const Mp3Decoder failing = [](const uint8_t*, size_t, size_t, DecodedAudio&) { return false; };
    const Mp3Decoder threeChannels = [](const uint8_t*, size_t, size_t, DecodedAudio& sound) {
        sound = {{0, 0, 0}, 44100, 3};
        return true;
    };
    const Mp3Decoder endless = [](const uint8_t*, size_t, size_t maxFrames, DecodedAudio& sound) {
        sound = {std::vector<float>(maxFrames, 0.0f), 8000, 1};
        return true;
    };
    struct Case {
        const char* what;
        Bytes image;
        Mp3Decoder mp3;
        PackAudioError code;
    };
    const Case cases[] = {
        {"text", {'h', 'e', 'l', 'l', 'o', ' ', 'w', 'o', 'r', 'l', 'd'}, {}, PackAudioError::UnknownFormat},
        {"empty", {}, {}, PackAudioError::UnknownFormat},
        {"ADPCM", MakeWav(adpcm, {}), {}, PackAudioError::Unsupported},
        {"extensible ADPCM", MakeWav(extensibleAdpcm, {0.5}), {}, PackAudioError::Unsupported},
        {"12-bit", MakeWav(twelveBit, {}), {}, PackAudioError::Corrupt},
        {"block size wrong", MakeWav(wrongBlock, {0.5}), {}, PackAudioError::Corrupt},
        {"rate 0", MakeWav(noRate, {0.5}), {}, PackAudioError::Unsupported},
        {"no data chunk", noData, {}, PackAudioError::Corrupt},
        {"chunk running past the end", hugeChunk, {}, PackAudioError::Corrupt},
        {"format chunk too short", shortFormat, {}, PackAudioError::Corrupt},
        {"WAV over ten minutes", tenMinutesAndOne, {}, PackAudioError::TooLong},
        {"Ogg cut after its first page", Bytes(ogg.begin(), ogg.begin() + 60), {}, PackAudioError::Corrupt},
        {"Ogg garbled", garbledOgg, {}, PackAudioError::Corrupt},
        {"Ogg claiming two billion comments", manyComments, {}, PackAudioError::Corrupt},
        {"Ogg page with nothing after it", {'O', 'g', 'g', 'S', 0, 2}, {}, PackAudioError::Corrupt},
        {"MP3 with no decoder", mp3, {}, PackAudioError::NoMp3Decoder},
        {"MP3 the decoder cannot read", mp3, failing, PackAudioError::Corrupt},
        {"MP3 of three channels", mp3, threeChannels, PackAudioError::Corrupt},
        {"MP3 over ten minutes", mp3, endless, PackAudioError::TooLong},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        DecodedAudio sound;
        PackAudioFailure failure;
        EXPECT_FALSE(Decode(c.image, sound, failure, c.mp3));
        EXPECT_EQ(failure.code, c.code) << failure.detail;
        EXPECT_FALSE(failure.detail.empty());
        EXPECT_TRUE(sound.samples.empty());
    }
}

TEST(PackAudio, RefusesAFileOverTheSizeLimitUnread) {
    const Bytes big(kMaxPackAudioBytes + 1, 0);
    DecodedAudio sound;
    PackAudioFailure failure;
    EXPECT_FALSE(Decode(big, sound, failure));
    EXPECT_EQ(failure.code, PackAudioError::TooLarge);
}

TEST(Mp3Frame, ReadsTheFirstFrameHeader) {
    struct Case {
        const char* what;
        Bytes image;
        bool found;
        size_t offset;
        uint32_t rate;
        uint16_t channels;
        uint32_t bitrate;
        uint32_t frameBytes;
    };
    const Bytes tag = {'I', 'D', '3', 4, 0, 0, 0, 0, 1, 2};  // 130 bytes follow the header
    Bytes tagged = tag;
    tagged.resize(140, 0);
    tagged.insert(tagged.end(), {0xFF, 0xFB, 0x90, 0x44});
    Bytes footed = tag;
    footed[5] = 0x10;
    footed.resize(150, 0);
    footed.insert(footed.end(), {0xFF, 0xFB, 0x90, 0x44});
    const Case cases[] = {
        {"MPEG-1 128 kbit/s 44.1 kHz joint stereo", {0xFF, 0xFB, 0x90, 0x44}, true, 0, 44100, 2, 128000, 417},
        {"MPEG-1 mono 48 kHz", {0xFF, 0xFB, 0x94, 0xC0}, true, 0, 48000, 1, 128000, 384},
        {"MPEG-2 64 kbit/s 22.05 kHz", {0xFF, 0xF3, 0x80, 0xC4}, true, 0, 22050, 1, 64000, 208},
        {"MPEG-2.5 8 kbit/s 11.025 kHz", {0xFF, 0xE3, 0x10, 0x00}, true, 0, 11025, 2, 8000, 52},
        {"after an ID3v2 tag", tagged, true, 140, 44100, 2, 128000, 417},
        {"after a tag with a footer", footed, true, 150, 44100, 2, 128000, 417},
        {"the checked-in tone", FileBytes(ktone_stereo44k_mp3), true, 102, 44100, 2, 128000, 417},
        {"layer II", {0xFF, 0xFD, 0x90, 0x44}, false, 0, 0, 0, 0, 0},
        {"reserved version", {0xFF, 0xEB, 0x90, 0x44}, false, 0, 0, 0, 0, 0},
        {"free bitrate", {0xFF, 0xFB, 0x00, 0x44}, false, 0, 0, 0, 0, 0},
        {"bad bitrate", {0xFF, 0xFB, 0xF0, 0x44}, false, 0, 0, 0, 0, 0},
        {"reserved rate", {0xFF, 0xFB, 0x9C, 0x44}, false, 0, 0, 0, 0, 0},
        {"three bytes", {0xFF, 0xFB, 0x90}, false, 0, 0, 0, 0, 0},
        {"a tag longer than the file", tag, false, 0, 0, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        size_t offset = 0;
        Mp3FrameHeader header;
        ASSERT_EQ(FindFirstMp3Frame(c.image.data(), c.image.size(), offset, header), c.found);
        if (!c.found) continue;
        EXPECT_EQ(offset, c.offset);
        EXPECT_EQ(header.sampleRate, c.rate);
        EXPECT_EQ(header.channels, c.channels);
        EXPECT_EQ(header.bitrate, c.bitrate);
        EXPECT_EQ(header.frameBytes, c.frameBytes);
    }
}

}  // namespace
