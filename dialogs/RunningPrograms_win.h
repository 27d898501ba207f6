#pragma once
// The file names of the programs that show windows now, this one left out.

#include <string>
#include <vector>

// One name per visible, unowned top-level window whose program could be asked for its path;
// the same program may appear more than once.
std::vector<std::string> RunningProgramNames();
