#include "app/Settings.h"

#include <climits>
#include <cstdio>
#include <cstring>

namespace {

bool IsCBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr char kLauncherName[] = "Launcher.exe";
constexpr int kPlacementMargin = 20;
constexpr int kShowCommandShow = 5;

}  // namespace

int ParseSettingInt(const char* text) {
    const char* p = text;
    while (IsCBlank(*p)) ++p;
    bool negative = false;
    if (*p == '+' || *p == '-') {
        negative = *p == '-';
        ++p;
    }
    // Accumulated as a negative number, whose range holds INT_MIN.
    long long value = 0;
    for (; *p >= '0' && *p <= '9'; ++p) {
        value = value * 10 - (*p - '0');
        if (value < INT_MIN) return negative ? INT_MIN : INT_MAX;
    }
    if (negative) return static_cast<int>(value);
    return value < -INT_MAX ? INT_MAX : static_cast<int>(-value);
}

bool FormatSettingInt(int value, char* out, size_t outSize) {
    const int written = std::snprintf(out, outSize, "%d", value);
    return written > 0 && static_cast<size_t>(written) < outSize;
}

int SettingIntFromText(const char* text, int defaultValue) {
    return text[0] == '\0' ? defaultValue : ParseSettingInt(text);
}

size_t ProgramFolderLength(const char* programPath) {
    size_t folderLength = 0;
    for (size_t i = 0; programPath[i] != '\0'; ++i) {
        if (programPath[i] == '\\' || programPath[i] == ':') folderLength = i + 1;
    }
    return folderLength;
}

std::string ProgramFolder(const char* programPath) {
    return std::string(programPath, ProgramFolderLength(programPath));
}

bool BuildAutostartCommand(const char* programPath, char* out, size_t outSize) {
    if (outSize == 0) return false;
    out[0] = '\0';
    const int folderLength = static_cast<int>(ProgramFolderLength(programPath));
    const int written =
        std::snprintf(out, outSize, "\"%.*s%s\"", folderLength, programPath, kLauncherName);
    if (written < 0 || static_cast<size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}

PlacementRect CentredPlacementRect(int screenWidth, int screenHeight, int width, int height) {
    const int left = (screenWidth - width) / 2;
    const int top = (screenHeight - height) / 2;
    return {left, top, left + width, top + height};
}

void ClampPlacement(PlacementValues& placement, int fullScreenWidth, int fullScreenHeight) {
    PlacementRect& r = placement.normal;
    if (r.right < kPlacementMargin) r.right = kPlacementMargin;
    if (r.bottom < kPlacementMargin) r.bottom = kPlacementMargin;
    if (r.left > fullScreenWidth - kPlacementMargin) r.left = fullScreenWidth - kPlacementMargin;
    if (r.top > fullScreenHeight - kPlacementMargin) r.top = fullScreenHeight - kPlacementMargin;
    if (placement.showCommand == 0) placement.showCommand = kShowCommandShow;
}
