#pragma once
// Which scheme Manage Schemes hands to the editor for the button pressed and the list position
// selected.

#include <array>
#include <cstddef>
#include <string>

// The dialog remembers the names at the list's first 25 positions; later positions have none.
constexpr size_t kRememberedSchemeNames = 25;
using RememberedSchemeNames = std::array<std::string, kRememberedSchemeNames>;

constexpr char kNewSchemeName[] = "NewScheme";

struct SchemeToOpen {
    std::string name;
    bool isNew;
};

// Edit with a remembered position selected opens that scheme; Add, Edit without a selection
// and Edit at a position past the remembered ones all open a new scheme named "NewScheme".
SchemeToOpen ChooseSchemeToOpen(bool editPressed, int selection,
                                const RememberedSchemeNames& names);
