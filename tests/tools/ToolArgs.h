// Number parsing for the test tools' command lines; no Win32 here, so it is tested natively.
#pragma once
#include <cstdint>

// Reads a whole argument as an unsigned number: decimal, or hexadecimal with a "0x" prefix.
// Fails on empty text, stray characters, a sign, or a value above maxValue.
bool ParseUnsignedArg(const char* text, uint64_t maxValue, uint64_t* value);

// Like ParseUnsignedArg, but also accepts a leading "-" for decimal numbers (REG_SZ numbers).
bool ParseSignedArg(const char* text, int64_t minValue, int64_t maxValue, int64_t* value);

// Decodes pairs of hexadecimal digits ("0aFF") into bytes; fails on odd length or a non-digit,
// and when the result would not fit into capacity bytes.
bool ParseHexBytes(const char* text, uint8_t* bytes, uint32_t capacity, uint32_t* byteCount);
