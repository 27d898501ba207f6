// MenuProbe.dll: on the probe message to a popup menu window, writes the window's menu into the
// shared block as lines "DEPTH<tab>KIND<tab>ID<tab>TEXT", KIND being item, separator or
// submenu, submenus' items after their own line at one depth more. See MenuProbe.h.
#include <windows.h>

#include <cwchar>

#include "tests/tools/MenuItemRead.h"
#include "tests/tools/MenuProbe.h"
#include "tests/tools/ToolHandle.h"

namespace {

constexpr UINT kGetMenuOfWindow = 0x01E1;  // MN_GETHMENU

struct Writer {
    wchar_t* block;
    size_t used;
    void Line(int depth, const wchar_t* kind, UINT id, const wchar_t* text) {
        const size_t room = kMenuProbeBlockChars - used;
        const int written = swprintf(block + used, room, L"%d\t%ls\t%u\t%ls\n", depth, kind, id, text);
        if (written > 0 && static_cast<size_t>(written) < room) used += written;
    }
};

void WriteMenu(HMENU menu, int depth, Writer* writer) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256];
        MENUITEMINFOW info;
        if (!ReadMenuItem(menu, i, text, ARRAYSIZE(text), &info)) continue;
        const wchar_t* kind = info.hSubMenu ? L"submenu" : (info.fType & MFT_SEPARATOR) ? L"separator" : L"item";
        writer->Line(depth, kind, info.hSubMenu ? 0 : info.wID, text);
        if (info.hSubMenu) WriteMenu(info.hSubMenu, depth + 1, writer);
    }
}

void WriteMenuOf(HWND menuWindow) {
    ScopedKernelHandle mapping(OpenFileMappingW(FILE_MAP_WRITE, FALSE, kMenuProbeBlock));
    if (!mapping) return;
    ScopedMapView view(MapViewOfFile(mapping.Get(), FILE_MAP_WRITE, 0, 0, 0));
    if (!view) return;
    Writer writer{static_cast<wchar_t*>(view.Get()), 0};
    writer.block[0] = L'\0';
    HMENU menu = reinterpret_cast<HMENU>(SendMessageW(menuWindow, kGetMenuOfWindow, 0, 0));
    if (menu) WriteMenu(menu, 0, &writer);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK MenuProbeHook(int code, WPARAM wParam, LPARAM lParam) {
    const auto* sent = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && sent->message == RegisterWindowMessageW(kMenuProbeMessage)) {
        WriteMenuOf(sent->hwnd);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
