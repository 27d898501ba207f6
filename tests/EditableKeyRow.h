#pragma once
// The scheme editor's row of a key, by name, for the tests that fill rows.

#include "schemes/KeyNames.h"

#include <cstddef>
#include <string>

// The key's position in EditableKeyNames; past the end for a key the editor does not list.
inline size_t RowOf(const char* keyName) {
    for (size_t i = 0; i < EditableKeyNames.size(); ++i) {
        if (std::string(EditableKeyNames[i]) == keyName) return i;
    }
    return EditableKeyNames.size();
}
