#include "dialogs/ProgramChoices.h"

#include "app/QuietPrograms.h"

#include <algorithm>
#include <cctype>

namespace {

bool ComesBefore(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) <
               std::tolower(static_cast<unsigned char>(y));
    });
}

}  // namespace

std::vector<std::string> ProgramChoices(const std::vector<std::string>& running,
                                        const std::vector<std::string>& listed) {
    std::vector<std::string> choices;
    for (const std::string& name : running) {
        if (!IsProgramFileName(name) || IsQuietProgram(listed, name) ||
            IsQuietProgram(choices, name)) {
            continue;
        }
        choices.push_back(name);
    }
    std::stable_sort(choices.begin(), choices.end(), ComesBefore);
    return choices;
}
