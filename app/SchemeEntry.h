#pragma once
// One discovered scheme: its folder name, which is also its menu text, and its menu command.

#include <cstddef>

constexpr size_t kMaxSchemes = 25;
constexpr unsigned kFirstSchemeCommand = 30000;

struct SchemeEntry {
    char name[256];
    unsigned commandId;
};
