#include "schemes/PackImport.h"

#include "audio/PackSlice.h"
#include "schemes/ImportedSchemeName.h"
#include "schemes/PackImportPlan.h"
#include "schemes/PackSource.h"
#include "schemes/StagedFolder.h"

#include <vector>

namespace {

constexpr char kSchemeFileName[] = "Scheme.txt";
// The longest file name an import writes: an eight-letter key name with "-up.wav".
constexpr size_t kLongestImportedFileName = 15;

PackImportResult Failed(PackImportError error, std::string file, std::string detail) {
    PackImportResult result;
    result.error = error;
    result.file = std::move(file);
    result.detail = std::move(detail);
    return result;
}

PackImportError ErrorOfSource(const PackSourceFailure& failure) {
    switch (failure.code) {
    case PackSourceError::TooLarge: return PackImportError::TooLarge;
    case PackSourceError::UnsafeName: return PackImportError::UnsafeName;
    case PackSourceError::Archive: break;
    default: return PackImportError::Unreadable;
    }
    switch (failure.archiveError) {
    case PackArchiveError::TooLarge:
    case PackArchiveError::EntryTooLarge:
    case PackArchiveError::TotalTooLarge: return PackImportError::TooLarge;
    case PackArchiveError::UnsafeName: return PackImportError::UnsafeName;
    case PackArchiveError::NoConfig:
    case PackArchiveError::AmbiguousConfig: return PackImportError::NoConfig;
    default: return PackImportError::BadArchive;
    }
}

PackImportResult FailedSource(const PackSourceFailure& failure) {
    return Failed(ErrorOfSource(failure), failure.file, failure.detail);
}

PackImportResult FailedConfig(const std::string& file, const SoundPackReading& reading) {
    const std::string& what = reading.errorDetail;
    switch (reading.error) {
    case PackError::TooLarge:
        return Failed(PackImportError::TooLarge, file,
                      "larger than " + std::to_string(kMaxPackConfigBytes >> 20) + " MB");
    case PackError::Malformed: return Failed(PackImportError::BadConfig, file, "not valid JSON");
    case PackError::UnknownFormat:
        return Failed(PackImportError::BadConfig, file, "unknown kind of pack: " + what);
    case PackError::MissingField:
        return Failed(PackImportError::BadConfig, file, "missing field: " + what);
    case PackError::WrongType:
        return Failed(PackImportError::BadConfig, file, "wrong type of value: " + what);
    case PackError::BadSlice: return Failed(PackImportError::BadSlice, file, "bad slice: " + what);
    default: return Failed(PackImportError::UnsafeName, file, "bad file name: " + what);
    }
}

PackImportResult FailedAudio(const std::string& file, const PackAudioFailure& failure) {
    switch (failure.code) {
    case PackAudioError::TooLarge: return Failed(PackImportError::TooLarge, file, failure.detail);
    case PackAudioError::TooLong: return Failed(PackImportError::AudioTooLong, file, failure.detail);
    case PackAudioError::Corrupt: return Failed(PackImportError::AudioCorrupt, file, failure.detail);
    default: return Failed(PackImportError::AudioUnsupported, file, failure.detail);
    }
}

// The WAV files cut from one audio file of the pack, written into the staged folder.
PackImportResult WriteCuts(PackSource& source, const ImportSource& planned,
                           const PackImportTools& tools, StagedFolder& staged) {
    const std::string file = source.Describe(planned.packFile);
    std::vector<uint8_t> image;
    PackSourceFailure readFailure;
    if (!source.Read(planned.packFile, kMaxPackAudioBytes, image, readFailure))
        return FailedSource(readFailure);
    DecodedAudio audio;
    PackAudioFailure audioFailure;
    if (!DecodePackAudio(image.data(), image.size(), tools.mp3, audio, audioFailure))
        return FailedAudio(file, audioFailure);
    image = std::vector<uint8_t>();  // the decoded sound can be large; the image is done with
    for (const ImportCut& cut : planned.cuts) {
        std::vector<uint8_t> wav;
        PackSliceFailure sliceFailure;
        const bool cutOk = cut.whole
                               ? WholeToWav(audio, wav, sliceFailure)
                               : SliceToWav(audio, cut.startMs, cut.lengthMs, wav, sliceFailure);
        if (!cutOk) return Failed(PackImportError::BadSlice, file, sliceFailure.detail);
        if (!staged.Write(cut.wavName, wav.data(), wav.size()))
            return Failed(PackImportError::WriteFailed, staged.Path() + cut.wavName,
                          "cannot be written");
    }
    return {};
}

}  // namespace

PackImportResult ImportPack(const std::string& packPath, const std::string& schemesFolder,
                            const PackImportTools& tools) {
    if (schemesFolder.empty())
        return Failed(PackImportError::WriteFailed, schemesFolder, "no schemes folder");
    const char separator = schemesFolder.back();
    PackSource source;
    PackSourceFailure sourceFailure;
    std::vector<uint8_t> config;
    if (!source.Open(packPath, separator, sourceFailure) ||
        !source.ReadConfig(config, sourceFailure)) {
        return FailedSource(sourceFailure);
    }
    const std::string configFile = source.Describe("config.json");
    const SoundPackReading reading =
        ReadSoundPack(std::string_view(reinterpret_cast<const char*>(config.data()), config.size()));
    if (reading.error != PackError::None) return FailedConfig(configFile, reading);
    const PackImportPlan plan = PlanPackImport(reading.pack);
    if (plan.sources.empty())
        return Failed(PackImportError::NoSounds, configFile, "no sound for a key Tapvox knows");

    const std::string name = ImportedSchemeName(
        tools.nameToAnsi(reading.pack.name), tools.isLeadByte,
        [&schemesFolder](const std::string& candidate) { return PathExists(schemesFolder + candidate); });
    const size_t longestPath = schemesFolder.size() + name.size() + 1 + kLongestImportedFileName;
    if (name.empty() || longestPath > kMaxSchemePathChars)
        return Failed(PackImportError::NoFreeName, schemesFolder + name,
                      "no free scheme name, or a path over 255 characters");
    StagedFolder staged;
    if (!staged.Create(schemesFolder))
        return Failed(PackImportError::WriteFailed, schemesFolder, "cannot be written");
    for (const ImportSource& planned : plan.sources) {
        PackImportResult written = WriteCuts(source, planned, tools, staged);
        if (written.error != PackImportError::None) return written;
    }
    const std::string schemeText = FormatSchemeText(plan.presses, &plan.releases);
    if (!staged.Write(kSchemeFileName, schemeText.data(), schemeText.size()))
        return Failed(PackImportError::WriteFailed, staged.Path() + kSchemeFileName,
                      "cannot be written");

    if (!staged.Commit(name))
        return Failed(PackImportError::WriteFailed, schemesFolder + name, "cannot be created");
    PackImportResult result;
    result.schemeName = name;
    result.skippedKeys = reading.pack.skippedKeys;
    return result;
}
