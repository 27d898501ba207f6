#pragma once
// What Manage Schemes lists, read from the dialog as a user sees it.

#include <windows.h>

#include <string>
#include <vector>

#include "res/resource.h"

inline std::vector<std::string> ListedNames(HWND dialog) {
    std::vector<std::string> names;
    HWND list = GetDlgItem(dialog, IDC_SCHEMES_LIST);
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        char name[256] = {};
        SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(name));
        names.push_back(name);
    }
    return names;
}
