// Scheme-file text of any bytes: the reader must stay in bounds and keep the tables' rules, and
// release words must never change what the presses read.
#include "schemes/SchemeFile.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    KeySoundTable table;
    KeySoundTable releases;
    ApplySchemeText(text, size, table, &releases);
    KeySoundTable pressesAlone;
    ApplySchemeText(text, size, pressesAlone);
    if (pressesAlone != table) __builtin_trap();
    for (const KeySoundTable* read : {&table, &releases}) {
        if (!(*read)[0].empty()) __builtin_trap();
        for (const std::string& file : *read) {
            // A value is what follows "X=" in a word of at most kMaxSchemeWordChars characters.
            if (file.size() > kMaxSchemeWordChars - 2) __builtin_trap();
            if (file.find_first_of(std::string(" \t\n\r\v\f\x1A\0", 8)) != std::string::npos)
                __builtin_trap();
        }
    }
    return 0;
}
