#include "tools/schemegen/Wav.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace schemegen {

namespace {

void PutTag(std::vector<uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}

void PutU16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v)
{
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeWav(const Samples& interleaved, const WavFormat& format)
{
    if ((format.bitsPerSample != 8 && format.bitsPerSample != 16) ||
        (format.channels != 1 && format.channels != 2) || format.sampleRate == 0)
        throw std::invalid_argument("EncodeWav: only 8- or 16-bit mono or stereo PCM");
    const uint32_t bytesPerSample = format.bitsPerSample / 8;
    const uint32_t blockAlign = bytesPerSample * format.channels;
    size_t sampleCount = interleaved.size() - interleaved.size() % format.channels;
    size_t dataSize = sampleCount * bytesPerSample;
    const bool padFrame = dataSize % 2 != 0;
    if (padFrame)
        dataSize += blockAlign;

    std::vector<uint8_t> out;
    out.reserve(kWavHeaderSize + dataSize);
    PutTag(out, "RIFF");
    PutU32(out, static_cast<uint32_t>(36 + dataSize));
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);  // PCM
    PutU16(out, format.channels);
    PutU32(out, format.sampleRate);
    PutU32(out, format.sampleRate * blockAlign);
    PutU16(out, blockAlign);
    PutU16(out, format.bitsPerSample);
    PutTag(out, "data");
    PutU32(out, static_cast<uint32_t>(dataSize));

    for (size_t i = 0; i < sampleCount; ++i) {
        const double v = std::clamp(interleaved[i], -1.0, 1.0);
        if (format.bitsPerSample == 8) {
            out.push_back(static_cast<uint8_t>(128 + std::lround(v * 127)));
        } else {
            const long s = std::lround(v * 32767);
            PutU16(out, static_cast<uint32_t>(s) & 0xFFFF);
        }
    }
    if (padFrame)
        out.insert(out.end(), blockAlign, format.bitsPerSample == 8 ? 128 : 0);
    return out;
}

}  // namespace schemegen
