#pragma once
// The Settings dialog: volume and the filter for upper-case letters.
// Placeholder: the dialog is not built yet; DoModal answers Cancel without showing anything.

#include <windows.h>

class DlgSettings {
public:
    int volume = 100;
    int filter = 0;

    // IDOK when the user confirmed, IDCANCEL otherwise.
    INT_PTR DoModal(HWND owner);
};
