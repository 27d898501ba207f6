#include "help/VersionLine.h"

std::wstring FormatVersionLine(const std::wstring& pattern, const VersionParts& version) {
    const int numbers[] = {version.major, version.minor, version.release, version.build};
    size_t nextNumber = 0;
    std::wstring line;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const bool escape = pattern[i] == L'%' && i + 1 < pattern.size();
        if (escape && pattern[i + 1] == L'd' && nextNumber < sizeof(numbers) / sizeof(numbers[0])) {
            line += std::to_wstring(numbers[nextNumber++]);
            ++i;
        } else if (escape && pattern[i + 1] == L'%') {
            line += L'%';
            ++i;
        } else {
            line += pattern[i];
        }
    }
    return line;
}
