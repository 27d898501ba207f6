#pragma once
// The About box: title, version line, the painted program name and a link to the maker's page.
// At most one is open; it has no owner, so the tray menu keeps working while it is shown.

#include "app/WinHandles.h"

#include <windows.h>

class CDlgAbout {
public:
    CDlgAbout() = default;
    CDlgAbout(const CDlgAbout&) = delete;
    CDlgAbout& operator=(const CDlgAbout&) = delete;

    // Runs the box modally; a request while one is open does nothing.
    void Show();
    bool IsOpen() const { return aboutOpen; }

    HWND linkWindow = nullptr;
    // Both fonts are made for the box's display scale, and made again when it changes.
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    ScopedGdiObject headingFont;
    ScopedGdiObject linkFont;
    ScopedGdiObject linkBrush;
    HCURSOR linkCursor = nullptr;
    bool aboutOpen = false;

private:
    static INT_PTR CALLBACK DialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnInitDialog(HWND box);
    void MakeFonts();
    void OnDpiChanged(HWND box, UINT newDpi, const RECT* suggested);
    void OnPaint(HWND box);
    bool PointerOnLink() const;
    INT_PTR OnSetCursor();
    INT_PTR OnColorStatic(HDC dc, HWND control);
    void OnLeftButtonDown();
    INT_PTR OnCommand(HWND box, WORD id);
    void OnDestroy();
};

// The process-wide About box.
extern CDlgAbout aboutBox;

// The handler of the "About..." menu command.
void ShowAbout();
