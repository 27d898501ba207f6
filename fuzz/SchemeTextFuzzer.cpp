// Scheme-file text of any bytes: the reader must stay in bounds and keep the table's rules.
#include "schemes/SchemeFile.h"

#include <cstdint>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    KeySoundTable table;
    ApplySchemeText(reinterpret_cast<const char*>(data), size, table);
    if (!table[0].empty()) __builtin_trap();
    for (const std::string& file : table) {
        // A value is what follows "X=" in a word of at most kMaxSchemeWordChars characters.
        if (file.size() > kMaxSchemeWordChars - 2) __builtin_trap();
        if (file.find_first_of(std::string(" \t\n\r\v\f\x1A\0", 8)) != std::string::npos) {
            __builtin_trap();
        }
    }
    return 0;
}
