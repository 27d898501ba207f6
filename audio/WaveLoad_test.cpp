#include "audio/WavePlayer.h"

#include "tests/TestWav.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

const TestWavFormat kMono16;
const std::vector<uint8_t> kFourBytes = {1, 2, 3, 4};
const std::vector<uint8_t> kPadByte = {0};

std::vector<uint8_t> Cut(std::vector<uint8_t> image, size_t size) {
    image.resize(size);
    return image;
}

// A comment chunk whose text holds the four letters of the data chunk's id.
const std::vector<uint8_t> kDataText = {'I', 'N', 'F', 'O', 'm', 'y', ' ', 'd',
                                        'a', 't', 'a', ' ', 'h', 'e', 'r', 'e'};

struct LayoutCase {
    const char* what;
    std::vector<uint8_t> image;
    bool valid;
    uint32_t dataOffset;
    uint32_t dataEnd;
};

TEST(WaveLoad, FindsTheSampleData) {
    const std::vector<uint8_t> plain = MakeTestWav(kMono16, kFourBytes);
    const std::vector<uint8_t> withFact =
        TestWavBuilder().Header(kMono16, 18).Chunk("fact", {0, 0, 0, 0}).Chunk("data", kFourBytes)
            .Image();
    const LayoutCase cases[] = {
        {"44-byte header", plain, true, 44, 48},
        {"data chunk without samples", MakeTestWav(kMono16, {}), true, 44, 44},
        {"18-byte format and a fact chunk", withFact, true, 58, 62},
        {"18-byte format and a 10-byte chunk",
         TestWavBuilder().Header(kMono16, 18).Chunk("fact", std::vector<uint8_t>(10, 0))
             .Chunk("data", kFourBytes).Image(),
         true, 64, 68},
        {"18-byte format directly followed by data",
         TestWavBuilder().Header(kMono16, 18).Chunk("data", std::vector<uint8_t>(8, 0)).Image(),
         true, 46, 54},
        {"data text inside an earlier chunk",
         TestWavBuilder().Header(kMono16).Chunk("LIST", kDataText).Chunk("data", kFourBytes)
             .Image(),
         true, 68, 72},
        {"odd chunk before data, with its pad byte",
         TestWavBuilder().Header(kMono16).Chunk("note", {'d', 'a', 't', 'a', 'x'}).Bytes(kPadByte)
             .Chunk("data", kFourBytes).Image(),
         true, 58, 62},
        {"odd data chunk and its pad byte",
         TestWavBuilder().Header(kMono16).Chunk("data", {1, 2, 3}).Bytes(kPadByte).Image(), true,
         44, 47},
        {"chunk after the data chunk",
         TestWavBuilder().Header(kMono16).Chunk("data", kFourBytes).Chunk("LIST", kDataText)
             .Image(),
         true, 44, 48},
        {"odd data chunk ending the file without its pad byte",
         TestWavBuilder().Header(kMono16).Chunk("data", {1, 2, 3}).Image(), true, 44, 47},
        {"data chunk longer than the file", Cut(plain, 46), false, 0, 0},
        {"data chunk of the largest size",
         TestWavBuilder().Header(kMono16).Bytes("data").U32(0xFFFFFFFF).Bytes(kFourBytes).Image(),
         false, 0, 0},
        {"format size 20", TestWavBuilder().Header(kMono16, 20).Chunk("data", kFourBytes).Image(),
         false, 0, 0},
        {"format size 40", TestWavBuilder().Header(kMono16, 40).Chunk("data", kFourBytes).Image(),
         false, 0, 0},
        {"upper-case DATA", TestWavBuilder().Header(kMono16).Chunk("DATA", kFourBytes).Image(),
         false, 0, 0},
        {"data only inside another chunk",
         TestWavBuilder().Header(kMono16).Chunk("LIST", kDataText).Image(), false, 0, 0},
        {"odd chunk before data without its pad byte",
         TestWavBuilder().Header(kMono16).Chunk("note", {1, 2, 3}).Chunk("data", kFourBytes)
             .Image(),
         false, 0, 0},
        {"empty file", {}, false, 0, 0},
        {"30 bytes", Cut(plain, 30), false, 0, 0},
        {"text file", TestWavBuilder().Bytes("A=a.wav\r\nB=b.wav\r\nthe data is here\r\n").Image(),
         false, 0, 0},
        {"35 bytes of header", Cut(plain, 35), false, 0, 0},
        {"header without data chunk", Cut(plain, 36), false, 0, 0},
        {"data header cut", Cut(plain, 43), false, 0, 0},
        {"data id in the last four bytes", Cut(plain, 40), false, 0, 0},
        {"18-byte format cut inside the next chunk", Cut(withFact, 49), false, 0, 0},
        {"skipped chunk runs past the end",
         TestWavBuilder().Header(kMono16, 18).Bytes("fact").U32(1000).U32(0)
             .Chunk("data", kFourBytes).Image(),
         false, 0, 0},
        {"skipped chunk of the largest size",
         TestWavBuilder().Header(kMono16, 18).Bytes("fact").U32(0xFFFFFFFF).U32(0)
             .Chunk("data", kFourBytes).Image(),
         false, 0, 0},
    };
    for (const LayoutCase& c : cases) {
        const WavePlayer::Wave wave(c.image);
        EXPECT_EQ(wave.IsValid(), c.valid) << c.what;
        if (c.valid) {
            EXPECT_EQ(wave.DataOffset(), c.dataOffset) << c.what;
            EXPECT_EQ(wave.DataEnd(), c.dataEnd) << c.what;
        }
        EXPECT_EQ(wave.FileSize(), c.image.size()) << c.what;
    }
}

// A file read while it is being written holds only its first bytes. The platform would play
// the missing samples from whatever memory follows the image, so every cut is refused.
TEST(WaveLoad, RefusesAFileCutAnywhere) {
    const std::vector<uint8_t> files[] = {
        MakeTestWav(kMono16, TestSamples(6, 2)),
        TestWavBuilder().Header(kMono16, 18).Chunk("fact", {0, 0, 0, 0})
            .Chunk("data", TestSamples(6, 2)).Image(),
    };
    for (const std::vector<uint8_t>& file : files) {
        for (size_t size = 0; size < file.size(); ++size) {
            WavePlayer::Wave wave(Cut(file, size));
            EXPECT_FALSE(wave.IsValid()) << file.size() << "-byte file cut to " << size;
            EXPECT_FALSE(wave.ApplyFilterAndVolume(50, FilterNone)) << size;
        }
        EXPECT_TRUE(WavePlayer::Wave(file).IsValid()) << file.size();
    }
}

TEST(WaveLoad, ShortChunkAfterAnEighteenByteFormatThrows) {
    for (uint32_t size : {0u, 3u}) {
        const std::vector<uint8_t> image = TestWavBuilder().Header(kMono16, 18).Bytes("fact")
                                               .U32(size).U32(0).Chunk("data", kFourBytes).Image();
        EXPECT_THROW(WavePlayer::Wave{image}, WaveHeaderError) << size;
    }
}

TEST(WaveLoad, ReadsTheFormatFields) {
    const WavePlayer::Wave wave(MakeTestWav({2, 44100, 16, 4}, kFourBytes));
    const WavePlayer::Wave::FormatHeader& format = wave.Format();
    EXPECT_EQ(format.chunk.size, 16u);
    EXPECT_EQ(format.wFormatTag, 1u);
    EXPECT_EQ(format.nChannels, 2u);
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.nAvgBytesPerSec, 176400u);
    EXPECT_EQ(format.nBlockAlign, 4u);
    EXPECT_EQ(format.wBitsPerSample, 16u);
}

TEST(WaveLoad, FromFile) {
    const fs::path folder = fs::temp_directory_path() / "tapvox-waveload";
    fs::remove_all(folder);
    fs::create_directories(folder / "sub.wav");
    const std::vector<uint8_t> image = MakeTestWav(kMono16, kFourBytes);
    std::ofstream((folder / "click.wav").string(), std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));

    const WavePlayer::Wave wave((folder / "click.wav").string().c_str());
    EXPECT_TRUE(wave.IsValid());
    EXPECT_EQ(wave.DataOffset(), 44u);
    EXPECT_EQ(
        std::vector<uint8_t>(wave.PlayImageData(), wave.PlayImageData() + wave.PlayImageSize()),
        image);

    for (const fs::path& unreadable : {folder / "missing.wav", folder / "sub.wav"}) {
        WavePlayer::Wave missing(unreadable.string().c_str());
        EXPECT_FALSE(missing.IsValid()) << unreadable;
        EXPECT_FALSE(missing.ApplyFilterAndVolume(50, FilterNone)) << unreadable;
    }
    EXPECT_FALSE(WavePlayer::Wave(static_cast<const char*>(nullptr)).IsValid());
    fs::remove_all(folder);
}

TEST(WaveLoad, TakenImageLeavesTheWaveSilent) {
    const std::vector<uint8_t> image = MakeTestWav(kMono16, kFourBytes);
    WavePlayer::Wave wave(image);
    ASSERT_TRUE(wave.ApplyFilterAndVolume(100, FilterNone));
    EXPECT_EQ(wave.TakePlayImage(), image);
    EXPECT_FALSE(wave.IsValid());
    EXPECT_FALSE(wave.ApplyFilterAndVolume(50, FilterNone));
    EXPECT_FALSE(wave.ApplyVolume(50));
}

}  // namespace
