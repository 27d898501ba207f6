// Reading one menu item by position: its kind, command id, submenu and text, for the test code
// that walks a whole menu.
#pragma once
#include <windows.h>

inline bool ReadMenuItem(HMENU menu, int position, wchar_t* text, UINT capacity, MENUITEMINFOW* info) {
    *info = {};
    info->cbSize = sizeof(*info);
    info->fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info->dwTypeData = text;
    info->cch = capacity;
    text[0] = L'\0';
    return GetMenuItemInfoW(menu, position, TRUE, info) != FALSE;
}
