#pragma once
// What "Add running..." offers: the file names of the programs with windows open, once each,
// in alphabetical order, without those already on the quiet list.

#include <string>
#include <vector>

// Names that are no file name are left out; names that differ only in the case of ASCII
// letters are one program (the first spelling stays).
std::vector<std::string> ProgramChoices(const std::vector<std::string>& running,
                                        const std::vector<std::string>& listed);
