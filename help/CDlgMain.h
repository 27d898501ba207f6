#pragma once
// The record of the program's main information window: owner, title and saved placement.
// Nothing shows this window yet; its placement is read at process start and never written.

#include <windows.h>

class CDlgMain {
public:
    // Reads the saved placement for a preferred size of 7 by 5 logical inches.
    CDlgMain();
    CDlgMain(const CDlgMain&) = delete;
    CDlgMain& operator=(const CDlgMain&) = delete;

    // Stores the owner window and loads the title (string 106).
    void SetOwner(HWND owner);
    HWND Owner() const { return owner_; }
    const char* Title() const { return title_; }
    const WINDOWPLACEMENT& Placement() const { return placement_; }

private:
    HINSTANCE module_;
    HWND owner_ = nullptr;
    char title_[128] = {};
    WINDOWPLACEMENT placement_{};
};

extern CDlgMain dlgMain;
