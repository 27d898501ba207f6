#pragma once
// The scheme editor that Manage Schemes opens for an existing or a new scheme.
// Placeholder: the editor is not built yet; DoModal answers Cancel without showing anything,
// so nothing is ever saved through it.

#include <windows.h>

#include <string>

class DlgSchmCtrl {
public:
    // The scheme to show: its name, and whether it exists yet.
    void Prepare(const std::string& name, bool newScheme) {
        editedName = name;
        isNewScheme = newScheme;
    }
    INT_PTR DoModal(HWND owner);

    bool isNewScheme = false;
    std::string editedName;
};
