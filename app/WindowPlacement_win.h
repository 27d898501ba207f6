#pragma once
// A window placement saved under a settings key, as the platform's record.

#include <windows.h>

// The saved placement under subKey, with a centred rectangle of the preferred size for the
// edges that are missing, kept on screen.
void ReadWindowPlacement(int width, int height, const char* subKey, WINDOWPLACEMENT* placement);
