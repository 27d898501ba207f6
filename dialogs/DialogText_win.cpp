#include "dialogs/DialogText.h"

std::string WindowTextA(HWND control) {
    const int bound = GetWindowTextLengthA(control);
    if (bound <= 0) return {};
    std::string text(static_cast<size_t>(bound) + 1, '\0');
    const int copied = GetWindowTextA(control, &text[0], bound + 1);
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}

std::string ListBoxTextA(HWND list, WPARAM index) {
    const LRESULT bound = SendMessageA(list, LB_GETTEXTLEN, index, 0);
    if (bound == LB_ERR || bound < 0) return {};
    std::string text(static_cast<size_t>(bound) + 1, '\0');
    const LRESULT copied =
        SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
    return text;
}
