#pragma once
// Localized resources: strings, message boxes, dialogs and the popup menu come from the language
// module named by the "Language" setting, falling back to the program's own resources. Wide
// text goes to wide window calls on NT-family systems and through the ANSI code page otherwise.

#include <windows.h>

#include <string>

// Reads the "Language" setting and loads its module.
void LocInit();
// Releases a loaded language module and loads the one of the current language name.
void LocLoadModule();
// Where localized resources come from; sets the state up on first use.
HMODULE LocGetResourceModule();
// The language in use: "English" whenever the program's own resources are used.
const char* LocLanguageName();

void LocSetUnicode(bool unicode);

// Each returns the number of characters copied; 0 when neither module holds the string.
int LocLoadStringW(UINT id, wchar_t* buffer, int capacity);
int LocLoadStringA(UINT id, char* buffer, int capacity);
// A wide result in either mode.
int LocLoadString(UINT id, wchar_t* buffer, int capacity);

// A box with caption string 106 and the text of textId; the answer is not returned.
void LocMessageBox(HWND owner, UINT textId, UINT style);

// The same box with a text made by the caller.
void LocMessageBoxText(HWND owner, const std::wstring& text, UINT style);

// A modal dialog from the language module, else from the program's own resources when the
// module lacks the template. The dialog's result, or -1.
INT_PTR LocDialogBox(UINT templateId, HWND owner, DLGPROC dialogProc);

BOOL LocSetWindowText(HWND window, const wchar_t* text);
int LocGetWindowText(HWND window, wchar_t* buffer, int capacity);

// The fixed file version of a file as its two 32-bit halves; zeros without version information.
struct FixedFileVersion {
    DWORD ms = 0;
    DWORD ls = 0;
};
FixedFileVersion ReadFixedFileVersion(const char* path);

// Conversions through the ANSI code page; a failed conversion gives the empty text.
std::wstring AnsiToWide(const char* text);
std::string WideToAnsi(const wchar_t* text);
