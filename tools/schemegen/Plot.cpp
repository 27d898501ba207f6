// schemeplot OUT.mvg: draws the waveforms of a few bundled schemes (a letter, Space and
// Enter each) as an ImageMagick vector drawing; make-picture.sh turns it into a PNG.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/schemegen/SchemeBuilder.h"

namespace {

using schemegen::BuiltScheme;
using schemegen::SchemeDesign;

const char* const kShownSchemes[] = {"Typewriter", "Clicky Mechanical", "Stereo Mechanical",
                                     "Marimba", "Bubbles", "Retro 8-bit"};
const char* const kShownKeys[] = {"A", "Space", "Enter"};

constexpr int kLabelWidth = 170;
constexpr int kHeaderHeight = 34;
constexpr int kCellWidth = 300;
constexpr int kCellHeight = 80;
constexpr int kGap = 10;
constexpr double kSecondsAcross = 0.35;  // one time scale for every cell

const char* const kChannelColours[] = {"#1f5fa8", "#d9822b"};

// The sounds of A, Space and Enter, from the scheme file text.
std::vector<std::string> ShownFiles(const BuiltScheme& scheme)
{
    auto valueOf = [&](const std::string& key) {
        const std::string text = "\n" + scheme.schemeFileText;
        const size_t at = text.find("\n" + key + "=");
        if (at == std::string::npos)
            return std::string();
        const size_t start = at + key.size() + 2;
        return text.substr(start, text.find_first_of("\r\n", start) - start);
    };
    std::string letter = valueOf("A");
    if (letter.empty())
        letter = valueOf("CHARS");
    return {letter, valueOf("SPACE"), valueOf("ENTER")};
}

// Samples of one channel of a plain 44-byte-header file, in [-1, 1).
std::vector<double> Channel(const std::vector<uint8_t>& wav, const schemegen::WavFormat& format,
                            int channel)
{
    std::vector<double> out;
    const size_t step = format.bitsPerSample / 8 * format.channels;
    for (size_t at = schemegen::kWavHeaderSize + channel * format.bitsPerSample / 8;
         at + format.bitsPerSample / 8 <= wav.size(); at += step) {
        out.push_back(format.bitsPerSample == 8
                          ? (wav[at] - 128) / 128.0
                          : static_cast<int16_t>(wav[at] | wav[at + 1] << 8) / 32768.0);
    }
    return out;
}

void DrawWave(FILE* out, const std::vector<double>& samples, double rate, int left, int top,
              const char* colour)
{
    std::fprintf(out, "stroke '%s'\n", colour);
    const double mid = top + kCellHeight / 2.0;
    const double samplesPerPixel = rate * kSecondsAcross / kCellWidth;
    for (int x = 0; x < kCellWidth; ++x) {
        const size_t from = static_cast<size_t>(x * samplesPerPixel);
        const size_t to = std::min(samples.size(), static_cast<size_t>((x + 1) * samplesPerPixel));
        if (from >= to)
            break;
        const auto [lo, hi] = std::minmax_element(samples.begin() + from, samples.begin() + to);
        // Sounds peak well below full scale; twice the height keeps their shape readable.
        const double scale = kCellHeight;
        std::fprintf(out, "line %d,%.1f %d,%.1f\n", left + x,
                     std::max(static_cast<double>(top), mid - *hi * scale), left + x,
                     std::min(static_cast<double>(top + kCellHeight), mid - *lo * scale + 0.5));
    }
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: schemeplot OUT.mvg\n");
        return 2;
    }
    FILE* out = std::fopen(argv[1], "w");
    if (out == nullptr) {
        std::fprintf(stderr, "schemeplot: cannot write %s\n", argv[1]);
        return 1;
    }
    const int rows = static_cast<int>(std::size(kShownSchemes));
    const int columns = static_cast<int>(std::size(kShownKeys));
    const int width = kLabelWidth + columns * (kCellWidth + kGap);
    const int height = kHeaderHeight + rows * (kCellHeight + kGap);
    std::fprintf(out, "viewbox 0 0 %d %d\n", width, height);
    std::fprintf(out, "fill white rectangle 0,0 %d,%d\n", width, height);
    std::fprintf(out, "font 'DejaVu-Sans' font-size 15 fill '#222222'\n");
    for (int c = 0; c < columns; ++c)
        std::fprintf(out, "text %d,%d '%s'\n", kLabelWidth + c * (kCellWidth + kGap) + 4, 22,
                     kShownKeys[c]);
    for (int r = 0; r < rows; ++r) {
        const SchemeDesign* design = nullptr;
        for (const SchemeDesign& d : schemegen::AllSchemes())
            if (std::strcmp(d.name, kShownSchemes[r]) == 0)
                design = &d;
        if (design == nullptr)
            continue;
        const BuiltScheme scheme = schemegen::BuildScheme(*design);
        const int top = kHeaderHeight + r * (kCellHeight + kGap);
        std::fprintf(out, "fill '#222222' stroke none text 8,%d '%s'\n",
                     top + kCellHeight / 2 + 5, design->name);
        const std::vector<std::string> files = ShownFiles(scheme);
        for (int c = 0; c < columns; ++c) {
            const int left = kLabelWidth + c * (kCellWidth + kGap);
            std::fprintf(out, "stroke none fill '#f3f3f0' rectangle %d,%d %d,%d\n", left, top,
                         left + kCellWidth, top + kCellHeight);
            for (const schemegen::SoundFile& sound : scheme.sounds) {
                if (sound.name != files[c])
                    continue;
                for (int ch = 0; ch < design->format.channels; ++ch)
                    DrawWave(out, Channel(sound.bytes, design->format, ch),
                             design->format.sampleRate, left, top, kChannelColours[ch]);
            }
        }
    }
    const bool written = std::fclose(out) == 0;
    return written ? 0 : 1;
}
