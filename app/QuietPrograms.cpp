#include "app/QuietPrograms.h"

#include <cstring>

namespace {

constexpr char kSeparator = '|';
constexpr size_t kMaxFileNameLength = 255;

char AsciiUpper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool SameFileName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
    }
    return true;
}

}  // namespace

bool IsProgramFileName(const std::string& name) {
    if (name.empty() || name.size() > kMaxFileNameLength) return false;
    for (char c : name) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>:\"/\\|?*", c)) return false;
    }
    return name.back() != ' ' && name.back() != '.';
}

std::vector<std::string> ParseQuietPrograms(const char* text) {
    std::vector<std::string> programs;
    const char* start = text;
    for (;;) {
        const char* end = std::strchr(start, kSeparator);
        std::string name = end ? std::string(start, end) : std::string(start);
        if (!name.empty()) {
            if (!IsProgramFileName(name)) return {};
            programs.push_back(std::move(name));
        }
        if (!end) return programs;
        start = end + 1;
    }
}

std::string FormatQuietPrograms(const std::vector<std::string>& programs) {
    std::string text;
    for (const std::string& name : programs) {
        if (!IsProgramFileName(name)) continue;
        const size_t grown = text.size() + (text.empty() ? 0 : 1) + name.size();
        if (grown >= kQuietProgramsBufferSize) continue;
        if (!text.empty()) text += kSeparator;
        text += name;
    }
    return text;
}

std::string ProgramFileName(const char* path) {
    const char* name = path;
    for (const char* p = path; *p; ++p) {
        if (*p == '\\' || *p == '/' || *p == ':') name = p + 1;
    }
    return name;
}

bool IsQuietProgram(const std::vector<std::string>& programs, const std::string& fileName) {
    for (const std::string& name : programs) {
        if (SameFileName(name, fileName)) return true;
    }
    return false;
}
