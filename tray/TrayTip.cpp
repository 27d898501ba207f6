#include "tray/TrayTip.h"

#include <cstdio>

void CopyTrayTip(char (&field)[kTrayTipFieldSize], const char* tip) {
    std::snprintf(field, sizeof(field), "%s", tip);
    field[kTrayTipMaxChars] = '\0';
}
