#include "tray/InfoWindowStack.h"

#include <vector>

namespace {

std::vector<HWND>& Stack() {
    static std::vector<HWND> windows;
    return windows;
}

}  // namespace

void PushInfoWindow(HWND window) { Stack().push_back(window); }

void PopInfoWindow() {
    if (!Stack().empty()) Stack().pop_back();
}

HWND TopInfoWindow() { return Stack().empty() ? nullptr : Stack().back(); }
