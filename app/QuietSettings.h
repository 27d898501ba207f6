#pragma once
// The quiet rules as the user set them: silence in full-screen programs, in password boxes and
// in the programs named by file name.

#include <string>
#include <vector>

struct QuietSettings {
    bool fullScreen = true;
    bool passwords = true;
    std::vector<std::string> programs;
};
