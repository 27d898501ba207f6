#pragma once
// The quiet rules' settings in the registry, under the program's key or another one (tests).

#include "app/QuietSettings.h"

// Missing or hostile values read as their defaults: both switches on, no programs.
QuietSettings ReadQuietSettings();
QuietSettings ReadQuietSettings(const char* subKey);

// Writes all three values; returns the first registry error (0 = done).
long WriteQuietSettings(const QuietSettings& settings);
long WriteQuietSettings(const char* subKey, const QuietSettings& settings);
