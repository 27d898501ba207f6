#include "tools/recordedscheme/RecordedScheme.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "audio/WavePlayer.h"
#include "tools/recordedscheme/RecordedKeys.h"
#include "tools/schemegen/KeyLayout.h"
#include "tools/schemegen/Wav.h"

namespace recorded {

namespace {

using schemegen::Samples;
using schemegen::SoundRole;

// The recording whose sound the keys without one borrow (2b-0.wav, 2b-1.wav): backslash, a
// plain key of a letter's size that has no key name of its own and so sounds only through the
// group words.
constexpr unsigned kGenericRecording = 0x2B;
constexpr const char* kGenericStem = "generic";

// A lock without a recording borrows another lock's sound, so that it stays as soft.
constexpr const char* kLockStandIn = "CAPSLOCK";

// Where a recording starts: the first sample that reaches this share of its peak (-30 dB),
// less a little, so the attack keeps its first rise.
constexpr double kOnsetRatio = 0.03;
constexpr double kPreRollSeconds = 0.0005;
// Where the ring has died away: -40 dB below the peak.
constexpr double kTailFloorRatio = 0.01;
constexpr double kShortestSoundSeconds = 0.020;
constexpr double kFadeInSeconds = 0.0005;
constexpr double kFadeOutSeconds = 0.015;

struct Recording {
    Samples samples;
    uint32_t rate = 0;
};

bool LoadRecording(const std::filesystem::path& path, Recording& recording, std::string& error)
{
    WavePlayer::Wave wave(path.string().c_str());
    if (!wave.IsValid()) {
        error = path.string() + ": not a WAV file we can read";
        return false;
    }
    const WavePlayer::Wave::FormatHeader& format = wave.Format();
    if (format.wFormatTag != 1 || format.nChannels != 1 || format.wBitsPerSample != 16 ||
        format.nSamplesPerSec == 0) {
        error = path.string() + ": not 16-bit mono PCM";
        return false;
    }
    const uint8_t* data = wave.PlayImageData();
    recording.rate = format.nSamplesPerSec;
    recording.samples.clear();
    for (uint32_t i = wave.DataOffset(); i + 1 < wave.DataEnd(); i += 2)
        recording.samples.push_back(static_cast<int16_t>(data[i] | data[i + 1] << 8) / 32768.0);
    if (recording.samples.empty()) {
        error = path.string() + ": holds no sound";
        return false;
    }
    return true;
}

// From the attack to where the ring dies away or the longest sound ends, with short fades so
// that neither cut clicks.
Samples Shape(const Recording& recording)
{
    const Samples& in = recording.samples;
    const double rate = recording.rate;
    const double peak = schemegen::PeakOf(in);
    size_t onset = 0;
    while (onset < in.size() && std::fabs(in[onset]) < peak * kOnsetRatio)
        ++onset;
    const size_t preRoll = schemegen::FramesFor(rate, kPreRollSeconds);
    const size_t start = onset > preRoll ? onset - preRoll : 0;
    Samples out(in.begin() + static_cast<std::ptrdiff_t>(std::min(start, in.size())), in.end());
    schemegen::TrimTail(out, 1, kTailFloorRatio, schemegen::FramesFor(rate, kShortestSoundSeconds));
    out.resize(std::min(out.size(), schemegen::FramesFor(rate, kLongestSoundSeconds)));
    schemegen::ApplyFades(out, 1, schemegen::FramesFor(rate, kFadeInSeconds),
                          std::min(out.size() / 5, schemegen::FramesFor(rate, kFadeOutSeconds)));
    return out;
}

std::string RecordingName(unsigned fileNumber, bool release)
{
    char name[16];
    std::snprintf(name, sizeof name, "%02x-%d.wav", fileNumber, release ? 1 : 0);
    return name;
}

std::string Lower(std::string text)
{
    for (char& ch : text)
        ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    return text;
}

// A key's press and, where recorded, its release, levelled together so that the release keeps
// its loudness against the press.
struct KeySounds {
    std::string stem;  // file names: stem + ".wav" and stem + "-up.wav"
    bool hasRelease = false;
};

class SchemeAssembler {
public:
    SchemeAssembler(const std::filesystem::path& recordings, schemegen::BuiltScheme& scheme)
        : recordings_(recordings), scheme_(scheme)
    {
    }

    // Adds the sounds of the recording with this file number; false when it has no press.
    bool AddKey(unsigned fileNumber, const std::string& stem, SoundRole role, KeySounds& sounds,
                std::string& error)
    {
        const std::filesystem::path press = recordings_ / RecordingName(fileNumber, false);
        const std::filesystem::path release = recordings_ / RecordingName(fileNumber, true);
        if (!std::filesystem::exists(press))
            return false;
        Recording pressRecording, releaseRecording;
        if (!LoadRecording(press, pressRecording, error))
            return false;
        sounds.stem = stem;
        // A lock's sound marks its change of state; its release stays silent.
        sounds.hasRelease = role != SoundRole::Lock && std::filesystem::exists(release);
        if (sounds.hasRelease && !LoadRecording(release, releaseRecording, error))
            return false;
        const Samples pressSound = Shape(pressRecording);
        const double rms = schemegen::SoundingRms(pressSound, 1);
        const double gain = rms > 0 ? schemegen::DbToGain(schemegen::kLetterLoudnessDb +
                                                          schemegen::RoleLevelDb(role)) / rms
                                    : 1;
        Write(stem + ".wav", pressSound, gain, pressRecording.rate);
        if (sounds.hasRelease)
            Write(stem + "-up.wav", Shape(releaseRecording), gain, releaseRecording.rate);
        return true;
    }

private:
    void Write(const std::string& name, Samples sound, double gain, uint32_t rate)
    {
        schemegen::Scale(sound, gain);
        const double peak = schemegen::PeakOf(sound);
        if (peak > schemegen::kPeakCeiling)
            schemegen::Scale(sound, schemegen::kPeakCeiling / peak);
        scheme_.sounds.push_back({name, schemegen::EncodeWav(sound, {rate, 16, 1})});
    }

    std::filesystem::path recordings_;
    schemegen::BuiltScheme& scheme_;
};

// Every key name a generated scheme gives a sound: letters, digits, function keys, the rest.
std::vector<std::string> AllKeyNames()
{
    std::vector<std::string> names;
    for (char letter = 'A'; letter <= 'Z'; ++letter)
        names.push_back(std::string(1, letter));
    const std::vector<std::string>& digits = schemegen::DigitKeyNames();
    names.insert(names.end(), digits.begin(), digits.end());
    const std::vector<std::string>& functions = schemegen::FunctionKeyNames();
    names.insert(names.end(), functions.begin(), functions.end());
    for (const schemegen::NamedKey& key : schemegen::SingleKeys())
        names.push_back(key.name);
    return names;
}

bool InGroup(const std::string& keyName)
{
    const SoundRole role = RoleOfKey(keyName);
    return role == SoundRole::Letter || role == SoundRole::Digit || role == SoundRole::Function;
}

void AppendLine(std::string& text, const std::string& word, const std::string& file)
{
    text += word + "=" + file + "\r\n";
}

// A recording of a named key, with the key's name as the file number gives it.
struct KeyRecording {
    unsigned fileNumber;
    RecordedKey key;
};

// Every recording number that stands for a named key, those of the first rank first.
std::vector<KeyRecording> KeyRecordingsByRank()
{
    std::vector<KeyRecording> recordings;
    for (unsigned n = 1; n < 256; ++n) {
        const RecordedKey key = KeyOfRecording(n);
        if (key.keyName)
            recordings.push_back({n, key});
    }
    std::stable_sort(recordings.begin(), recordings.end(),
                     [](const KeyRecording& a, const KeyRecording& b) {
                         return a.key.rank < b.key.rank;
                     });
    return recordings;
}

}  // namespace

bool BuildRecordedScheme(const std::filesystem::path& recordings, schemegen::BuiltScheme& scheme,
                         std::string& error)
{
    scheme = {};
    scheme.name = kRecordedSchemeName;
    scheme.schemeFileName = "Scheme.txt";
    SchemeAssembler assembler(recordings, scheme);

    KeySounds generic;
    if (!assembler.AddKey(kGenericRecording, kGenericStem, SoundRole::Letter, generic, error) ||
        !generic.hasRelease) {
        if (error.empty())
            error = recordings.string() + ": the press or release of key " +
                    RecordingName(kGenericRecording, false).substr(0, 2) +
                    " is missing; every key without a recording borrows them";
        return false;
    }
    // Each key takes the first of its recordings that is there: the left of two twins.
    std::map<std::string, KeySounds> recorded;
    for (const KeyRecording& r : KeyRecordingsByRank()) {
        const std::string name = r.key.keyName;
        if (recorded.count(name))
            continue;
        KeySounds sounds;
        if (assembler.AddKey(r.fileNumber, Lower(name), RoleOfKey(name), sounds, error))
            recorded.emplace(name, sounds);
        else if (!error.empty())
            return false;
    }

    std::string presses, releases;
    for (const char* group : {"CHARS", "DIGITS", "FUNCS"}) {
        AppendLine(presses, group, generic.stem + ".wav");
        AppendLine(releases, std::string(group) + ".UP", generic.stem + "-up.wav");
    }
    for (const std::string& name : AllKeyNames()) {
        const bool lock = RoleOfKey(name) == SoundRole::Lock;
        auto own = recorded.find(name);
        if (own == recorded.end() && lock)
            own = recorded.find(kLockStandIn);
        if (own != recorded.end()) {
            AppendLine(presses, name, own->second.stem + ".wav");
            if (!lock)
                AppendLine(releases, name + ".UP",
                           (own->second.hasRelease ? own->second.stem : generic.stem) + "-up.wav");
        } else if (!InGroup(name)) {
            AppendLine(presses, name, generic.stem + ".wav");
            if (!lock)
                AppendLine(releases, name + ".UP", generic.stem + "-up.wav");
        }
    }
    scheme.schemeFileText = presses + releases;
    return true;
}

bool WriteRecordedScheme(const std::filesystem::path& recordings,
                         const std::filesystem::path& licence, const std::filesystem::path& outDir,
                         std::string& error)
{
    std::ifstream in(licence, std::ios::binary);
    const std::string licenceText(std::istreambuf_iterator<char>(in), {});
    if (!in || licenceText.empty()) {
        error = licence.string() + ": cannot read the licence";
        return false;
    }
    schemegen::BuiltScheme scheme;
    if (!BuildRecordedScheme(recordings, scheme, error) ||
        !schemegen::WriteScheme(scheme, outDir, error))
        return false;
    const std::string text = LicenceText(licenceText);
    std::ofstream out(outDir / scheme.name / kLicenceFileName, std::ios::binary | std::ios::trunc);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.close();
    if (!out) {
        error = "cannot write " + (outDir / scheme.name / kLicenceFileName).string();
        return false;
    }
    return true;
}

std::string LicenceText(const std::string& licence)
{
    return "The sounds in this folder are cut from the recordings of bucklespring, a buckling-\r\n"
           "spring keyboard sound program by Ico Doornekamp, as Debian ships them in its package\r\n"
           "bucklespring-data (https://github.com/zevv/bucklespring): copyright 2016 Ico\r\n"
           "Doornekamp, licensed under the GNU General Public License, version 2 or (at your\r\n"
           "option) any later version. Tapvox's tool tools/recordedscheme, in Tapvox's source,\r\n"
           "trims each recording's silence and tail and sets its level; the recordings\r\n"
           "themselves are the source of these files. The licence follows.\r\n\r\n" +
           licence;
}

}  // namespace recorded
