#include "app/ProgramPathsWarning_win.h"

#include "app/ProgramPaths_win.h"
#include "lang/Localization.h"
#include "res/resource.h"

#include <string>

namespace {

constexpr int kWarningCapacity = 1024;
constexpr int kCaptionCapacity = 256;

}  // namespace

void WarnOfProgramFolderWithoutAnsiForm(HWND owner) {
    const std::wstring folder = ProgramFolderWithoutAnsiForm();
    if (folder.empty()) return;
    wchar_t text[kWarningCapacity] = {};
    wchar_t caption[kCaptionCapacity] = {};
    LocLoadString(IDS_FOLDER_OUTSIDE_CODE_PAGE, text, ARRAYSIZE(text));
    LocLoadString(IDS_TITLE, caption, ARRAYSIZE(caption));
    // The folder's name is the very text the code page cannot hold: only a wide call shows it.
    const std::wstring message = std::wstring(text) + L"\n\n" + folder;
    MessageBoxW(owner, message.c_str(), caption, MB_OK | MB_ICONWARNING);
}
