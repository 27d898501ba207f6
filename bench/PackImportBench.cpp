// The import of one sound pack, timed: PACK (config.json or .zip) into fresh scheme folders
// under SCHEMES, RUNS times; prints each run's time and the scheme's size. MP3 is not decoded
// here (the platform's codec is Windows'); Ogg and WAV packs are.
//
//   tapvox_pack_import_bench PACK SCHEMES_FOLDER RUNS

#include "schemes/PackImport.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool NoLeadBytes(unsigned char) { return false; }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s PACK SCHEMES_FOLDER RUNS\n", argv[0]);
        return 2;
    }
    const std::string schemes = (fs::path(argv[2]) / "").string();
    const int runs = std::max(1, std::atoi(argv[3]));
    PackImportTools tools;
    tools.mp3 = [](const uint8_t*, size_t, size_t, DecodedAudio&) { return false; };
    tools.isLeadByte = NoLeadBytes;
    tools.nameToAnsi = [](const std::string& name) { return name; };
    std::vector<double> seconds;
    for (int run = 0; run < runs; ++run) {
        const auto started = std::chrono::steady_clock::now();
        const PackImportResult result = ImportPack(argv[1], schemes, tools);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - started;
        if (result.error != PackImportError::None) {
            std::fprintf(stderr, "import failed: %s: %s\n", result.file.c_str(), result.detail.c_str());
            return 1;
        }
        seconds.push_back(took.count());
        uintmax_t bytes = 0, files = 0;
        for (const auto& entry : fs::directory_iterator(fs::path(schemes) / result.schemeName)) {
            bytes += entry.file_size();
            ++files;
        }
        std::printf("run %d: %.3f s; scheme \"%s\": %ju files, %ju bytes\n", run + 1, took.count(),
                    result.schemeName.c_str(), files, bytes);
        fs::remove_all(fs::path(schemes) / result.schemeName);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("import time: median %.3f s, min %.3f s, max %.3f s over %d runs\n",
                seconds[seconds.size() / 2], seconds.front(), seconds.back(), runs);
    return 0;
}
