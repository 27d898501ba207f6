#include "dialogs/OpenFileDialog_win.h"

#include <commdlg.h>

#include "lang/Localization.h"

std::string AskForFileToOpen(HWND owner, UINT filterNameId, const char* patterns,
                             DWORD extraFlags) {
    char description[256] = "";
    LocLoadStringA(filterNameId, description, ARRAYSIZE(description));
    // The description, then the patterns, each ending in a zero, and a zero after the last pair.
    std::string filter = description;
    filter.append(1, '\0').append(patterns).append(2, '\0');
    char path[MAX_PATH] = {};
    OPENFILENAMEA request{};
    request.lStructSize = sizeof(request);
    request.hwndOwner = owner;
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = path;
    request.nMaxFile = sizeof(path);
    request.Flags =
        OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_ENABLESIZING | extraFlags;
    if (!GetOpenFileNameA(&request)) return {};
    return path;
}
