#pragma once
// Whole-file reads and writes for the tests, through the standard library, so that native and
// Wine tests share them.

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

// The file's bytes; empty when it cannot be read.
inline std::string ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// Creates or replaces the file; true when every byte was written.
inline bool WriteWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return out.good();
}

inline bool WriteWholeFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteWholeFile(path, std::string(bytes.begin(), bytes.end()));
}
