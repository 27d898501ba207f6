#pragma once
// The trace log: an "Entering"/"Leaving" line pair per traced operation, appended to a fixed
// file that is opened and closed for every line. Callers test the trace switch first.

#include <string>

// Forward slashes and the fixed folder are part of the file's documented name; the folder is
// never created, so without it nothing is written.
constexpr char kTraceFilePath[] = "c:/tmp/log.txt";

// The names written as the source of each trace point: the source units' own file names.
constexpr char kTraceSourceCApp[] = "CApp.cpp";
constexpr char kTraceSourceSchemes[] = "SoundSchemesList.cpp";
constexpr char kTraceSourceWavePlayer[] = "WavePlayer.cpp";

// "Entering X() - (Source:line)", without the line end.
std::string TraceEnteringLine(const char* operation, const char* source, int line);
// "Leaving  X() - (Source)", two blanks after "Leaving" so the names line up.
std::string TraceLeavingLine(const char* operation, const char* source);

// Appends text and a line end to the file, sharing it with other writers and readers. A file
// that cannot be opened drops the line silently.
void AppendTraceLine(const char* filePath, const std::string& text);

// Writes the "Entering" line when created and the "Leaving" line when it ends.
class TraceScope {
public:
    TraceScope(const char* source, const char* operation, int line,
               const char* filePath = kTraceFilePath);
    ~TraceScope();
    TraceScope(const TraceScope&) = delete;
    TraceScope& operator=(const TraceScope&) = delete;

private:
    const char* source_;
    const char* operation_;
    const char* filePath_;
};

// The trace switch is on only for the value 1.
constexpr bool IsTraceSwitchOn(int switchValue) { return switchValue == 1; }

// A pair that starts and ends at once, written only when the switch is on.
void TracePair(int switchValue, const char* source, const char* operation, int line,
               const char* filePath = kTraceFilePath);
