#include "help/CDlgAbout.h"

#include "app/ProgramPaths_win.h"
#include "help/Help.h"
#include "help/LinkAddress.h"
#include "help/VersionLine.h"
#include "lang/Localization.h"
#include "res/resource.h"
#include "tray/InfoWindowStack.h"

#include <shellapi.h>

namespace {

constexpr int kTextCapacity = 256;
constexpr int kLinkTextCapacity = 128;
constexpr COLORREF kLinkColour = 0x800000;  // dark blue
constexpr int kLinkPoints = 8;
// The size a font of default height has at 100 %; given in points, it grows with the display
// scale as the dialog does.
constexpr int kHeadingPoints = 12;
constexpr int kHeadingRaise = 2;

RECT ScreenRectOf(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A font height (negative: the character height) for a size in points at a display scale.
int FontHeightForPoints(int points, UINT dpi) { return -(points * static_cast<int>(dpi) / 72); }

VersionParts ProgramVersion() {
    char programPath[MAX_PATH] = {};
    ReadProgramPath(programPath, sizeof(programPath));
    const FixedFileVersion version = ReadFixedFileVersion(programPath);
    return {HIWORD(version.ms), LOWORD(version.ms), HIWORD(version.ls), LOWORD(version.ls)};
}

}  // namespace

CDlgAbout aboutBox;

void ShowAbout() { aboutBox.Show(); }

void CDlgAbout::Show() {
    if (aboutOpen) return;
    aboutOpen = true;
    LocDialogBox(IDD_ABOUT, nullptr, DialogProc);
    aboutOpen = false;
}

INT_PTR CALLBACK CDlgAbout::DialogProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG: return aboutBox.OnInitDialog(box);
    case WM_PAINT: aboutBox.OnPaint(box); return 0;
    case WM_SETCURSOR: return aboutBox.OnSetCursor();
    case WM_CTLCOLORSTATIC:
        return aboutBox.OnColorStatic(reinterpret_cast<HDC>(wParam),
                                      reinterpret_cast<HWND>(lParam));
    case WM_LBUTTONDOWN: aboutBox.OnLeftButtonDown(); return 0;
    case WM_HELP: ShowHelpTopic(box, kIntroTopic); return TRUE;
    case WM_COMMAND: return aboutBox.OnCommand(box, LOWORD(wParam));
    case WM_DPICHANGED:
        aboutBox.OnDpiChanged(box, HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
        return 0;
    case WM_DESTROY: aboutBox.OnDestroy(); return 0;
    default: return FALSE;
    }
}

INT_PTR CDlgAbout::OnInitDialog(HWND box) {
    PushInfoWindow(box);

    wchar_t title[kTextCapacity];
    LocGetWindowText(box, title, ARRAYSIZE(title));
    wchar_t programName[kTextCapacity];
    LocLoadString(IDS_TITLE, programName, ARRAYSIZE(programName));
    LocSetWindowText(box, (std::wstring(title) + L" " + programName).c_str());

    wchar_t pattern[kTextCapacity];
    LocLoadString(IDS_VERSION_LINE, pattern, ARRAYSIZE(pattern));
    LocSetWindowText(GetDlgItem(box, IDC_ABOUT_VERSION),
                     FormatVersionLine(pattern, ProgramVersion()).c_str());

    SendDlgItemMessageA(box, IDC_ABOUT_ICON, STM_SETICON, 0, 0);

    linkWindow = GetDlgItem(box, IDC_ABOUT_LINK);
    const UINT boxDpi = GetDpiForWindow(box);
    dpi = boxDpi != 0 ? boxDpi : USER_DEFAULT_SCREEN_DPI;
    MakeFonts();
    linkBrush.Reset(CreateSolidBrush(GetSysColor(COLOR_BTNFACE)));
    linkCursor = LoadCursor(nullptr, IDC_HAND);
    return TRUE;
}

void CDlgAbout::MakeFonts() {
    headingFont.Reset(CreateFontA(FontHeightForPoints(kHeadingPoints, dpi), 0, 0, 0, FW_BOLD, TRUE,
                                  TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                  CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                                  "Arial"));
    ScopedGdiObject oldLinkFont(linkFont.Release());
    linkFont.Reset(CreateFontA(FontHeightForPoints(kLinkPoints, dpi), 0, 0, 0, FW_NORMAL, FALSE,
                               TRUE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS,
                               "MS Shell Dlg"));
    // The old font is deleted only once the link no longer uses it.
    SendMessageA(linkWindow, WM_SETFONT, reinterpret_cast<WPARAM>(linkFont.Get()), TRUE);
}

// Moved to a display of another scale: the system scales the dialog's own layout and font,
// not the fonts made here.
void CDlgAbout::OnDpiChanged(HWND box, UINT newDpi, const RECT* suggested) {
    if (newDpi == 0) return;
    dpi = newDpi;
    MakeFonts();
    if (suggested) {
        SetWindowPos(box, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    InvalidateRect(box, nullptr, TRUE);
}

// The program name is painted as a heading beside where the icon was.
void CDlgAbout::OnPaint(HWND box) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(box, &paint);
    char programName[kTextCapacity];
    const int length = LocLoadStringA(IDS_TITLE, programName, ARRAYSIZE(programName));
    HGDIOBJ previousFont = SelectObject(dc, headingFont.Get());
    SetBkMode(dc, TRANSPARENT);
    POINT origin{ScreenRectOf(GetDlgItem(box, IDC_ABOUT_VERSION)).left,
                 ScreenRectOf(GetDlgItem(box, IDC_ABOUT_ICON)).top - kHeadingRaise};
    ScreenToClient(box, &origin);
    TextOutA(dc, origin.x, origin.y, programName, length);
    SelectObject(dc, previousFont);
    EndPaint(box, &paint);
}

bool CDlgAbout::PointerOnLink() const {
    if (!linkWindow) return false;
    POINT pointer{};
    GetCursorPos(&pointer);
    const RECT link = ScreenRectOf(linkWindow);
    return PtInRect(&link, pointer) != FALSE;
}

INT_PTR CDlgAbout::OnSetCursor() {
    if (!PointerOnLink()) return FALSE;
    SetCursor(linkCursor);
    return TRUE;
}

INT_PTR CDlgAbout::OnColorStatic(HDC dc, HWND control) {
    if (control != linkWindow) return FALSE;
    SetTextColor(dc, kLinkColour);
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return reinterpret_cast<INT_PTR>(linkBrush.Get());
}

// The link opens the address it shows in the default browser or mail program.
void CDlgAbout::OnLeftButtonDown() {
    if (!PointerOnLink()) return;
    char address[kLinkTextCapacity];
    GetWindowTextA(linkWindow, address, ARRAYSIZE(address));
    if (!IsOpenableLinkAddress(address)) return;
    ShellExecuteA(nullptr, nullptr, address, nullptr, nullptr, SW_HIDE);
}

INT_PTR CDlgAbout::OnCommand(HWND box, WORD id) {
    if (id != IDOK && id != IDCANCEL) return FALSE;
    PopInfoWindow();
    EndDialog(box, id);
    DefWindowProcA(box, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    return TRUE;
}

void CDlgAbout::OnDestroy() {
    headingFont.Reset();
    linkFont.Reset();
    linkBrush.Reset();
    linkWindow = nullptr;
}
