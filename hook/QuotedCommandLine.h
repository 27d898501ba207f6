#pragma once
// The command line that starts one of our programs: its path in double quotes, since it may
// hold blanks, then its arguments after one blank.

#include <cstddef>

// Writes "\"programPath\"" and, when arguments is not empty, " arguments". False, with out
// empty, for an empty path, a path holding a double quote (it cannot be quoted) or a result
// that does not fit into outSize bytes with its terminating zero.
bool BuildQuotedCommandLine(const char* programPath, const char* arguments, char* out,
                            size_t outSize);
