#pragma once
// How a stored number setting reads and how a number is written: decimal text.

#include <cstddef>

// Numbers are read into a buffer of this size, terminating zero included; a longer stored text
// does not fit, and the caller's default is used.
constexpr size_t kSettingNumberBufferSize = 32;

// The leading decimal number of text, read as the C library's atoi does: leading blanks and
// one sign allowed, reading stops at the first other character, no digits gives 0. Unlike
// atoi, a number beyond the int range saturates instead of being undefined.
int ParseSettingInt(const char* text);

// The value in decimal, "-" for negative numbers. False only when out is too small.
bool FormatSettingInt(int value, char* out, size_t outSize);

// The stored value of a number setting: the default for an empty text, else ParseSettingInt.
int SettingIntFromText(const char* text, int defaultValue);
