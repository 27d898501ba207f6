#pragma once
// The Manage Schemes dialog.
// Placeholder: the dialog is not built yet; DoModal answers Cancel without showing anything.

#include <windows.h>

#include <string>

class DlgManageSchemes {
public:
    void SetSchemesFolder(const char* folder) { schemesFolder_ = folder; }
    INT_PTR DoModal(HWND owner);

private:
    std::string schemesFolder_;
};
