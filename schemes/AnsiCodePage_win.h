#pragma once
// The lead bytes of the system's ANSI code page, for the scheme rules that read ANSI text.

#include <windows.h>

inline bool IsAnsiCodePageLeadByte(unsigned char byte) { return IsDBCSLeadByte(byte) != FALSE; }
