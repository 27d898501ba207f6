#include "app/Trace.h"

#include <cstdio>
#ifdef _WIN32
#include <share.h>
#endif

namespace {

std::FILE* OpenSharedForAppend(const char* filePath) {
#ifdef _WIN32
    // Text mode, so each line ends as the platform's text files do; other processes may keep
    // the file open for reading or writing meanwhile.
    return _fsopen(filePath, "a", _SH_DENYNO);
#else
    return std::fopen(filePath, "a");
#endif
}

}  // namespace

std::string TraceEnteringLine(const char* operation, const char* source, int line) {
    return std::string("Entering ") + operation + "() - (" + source + ":" + std::to_string(line) +
           ")";
}

std::string TraceLeavingLine(const char* operation, const char* source) {
    return std::string("Leaving  ") + operation + "() - (" + source + ")";
}

void AppendTraceLine(const char* filePath, const std::string& text) {
    std::FILE* file = OpenSharedForAppend(filePath);
    if (!file) return;
    std::fputs(text.c_str(), file);
    std::fputc('\n', file);
    std::fflush(file);
    std::fclose(file);
}

TraceScope::TraceScope(const char* source, const char* operation, int line,
                       const char* filePath)
    : source_(source), operation_(operation), filePath_(filePath) {
    AppendTraceLine(filePath_, TraceEnteringLine(operation_, source_, line));
}

TraceScope::~TraceScope() { AppendTraceLine(filePath_, TraceLeavingLine(operation_, source_)); }

void TracePair(int switchValue, const char* source, const char* operation, int line,
               const char* filePath) {
    if (!IsTraceSwitchOn(switchValue)) return;
    TraceScope scope(source, operation, line, filePath);
}
