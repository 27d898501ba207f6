#include "tools/schemegen/SchemeWriter.h"

#include <fstream>
#include <system_error>

namespace schemegen {

namespace {

bool WriteFile(const std::filesystem::path& path, const void* data, size_t size,
               std::string& error)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
    out.close();
    if (!out) {
        error = "cannot write " + path.string();
        return false;
    }
    return true;
}

}  // namespace

bool WriteScheme(const BuiltScheme& scheme, const std::filesystem::path& outDir,
                 std::string& error)
{
    const std::filesystem::path folder = outDir / scheme.name;
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    if (ec) {
        error = "cannot clear " + folder.string() + ": " + ec.message();
        return false;
    }
    std::filesystem::create_directories(folder, ec);
    if (ec) {
        error = "cannot create " + folder.string() + ": " + ec.message();
        return false;
    }
    for (const SoundFile& sound : scheme.sounds)
        if (!WriteFile(folder / sound.name, sound.bytes.data(), sound.bytes.size(), error))
            return false;
    return WriteFile(folder / scheme.schemeFileName, scheme.schemeFileText.data(),
                     scheme.schemeFileText.size(), error);
}

bool WriteAllSchemes(const std::filesystem::path& outDir, std::string& error)
{
    for (const SchemeDesign& design : AllSchemes())
        if (!WriteScheme(BuildScheme(design), outDir, error))
            return false;
    return true;
}

}  // namespace schemegen
