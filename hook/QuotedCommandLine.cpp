#include "hook/QuotedCommandLine.h"

#include <cstdio>
#include <cstring>

bool BuildQuotedCommandLine(const char* programPath, const char* arguments, char* out,
                            size_t outSize) {
    if (out == nullptr || outSize == 0) return false;
    out[0] = '\0';
    if (programPath == nullptr || programPath[0] == '\0' || strchr(programPath, '"') != nullptr)
        return false;
    const char* separator = arguments[0] != '\0' ? " " : "";
    const int written = snprintf(out, outSize, "\"%s\"%s%s", programPath, separator, arguments);
    if (written < 0 || static_cast<size_t>(written) >= outSize) {
        out[0] = '\0';
        return false;
    }
    return true;
}
