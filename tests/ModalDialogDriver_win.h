#pragma once
// Driving a modal dialog from a test: the dialog's own modal loop blocks the test, so what the
// test does to the open dialog runs from a thread timer that fires inside that loop.

#include <windows.h>

#include <functional>
#include <map>
#include <utility>

constexpr UINT kDialogActDelayMs = 100;

struct PendingDialogAction {
    std::function<HWND()> dialog;
    std::function<void(HWND)> act;
};

// Keyed by timer, so that an action may arm the next one for a dialog it opens in turn.
inline std::map<UINT_PTR, PendingDialogAction>& PendingDialogActions() {
    static std::map<UINT_PTR, PendingDialogAction> pending;
    return pending;
}

inline VOID CALLBACK RunPendingDialogAction(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    auto found = PendingDialogActions().find(timer);
    if (found == PendingDialogActions().end()) return;
    const PendingDialogAction action = std::move(found->second);
    PendingDialogActions().erase(found);
    if (HWND window = action.dialog()) action.act(window);
}

// Once, after delayMs, from inside whatever message loop runs then (the modal loop of the
// dialog the caller opens next): act on the window dialog() gives, unless that is null
// because the dialog is not open.
inline void ActOnDialogSoon(std::function<HWND()> dialog, std::function<void(HWND)> act,
                            UINT delayMs = kDialogActDelayMs) {
    const UINT_PTR timer = SetTimer(nullptr, 0, delayMs, RunPendingDialogAction);
    PendingDialogActions()[timer] = {std::move(dialog), std::move(act)};
}

// As ActOnDialogSoon, but asked again every delayMs until dialog() gives a window, for windows
// that take a while to open (the common file dialog, a popup menu); given up after tries.
inline void ActOnDialogWhenOpen(std::function<HWND()> dialog, std::function<void(HWND)> act,
                                int tries = 300) {
    ActOnDialogSoon(GetDesktopWindow, [dialog, act, tries](HWND) {
        if (HWND window = dialog()) {
            act(window);
        } else if (tries > 1) {
            ActOnDialogWhenOpen(dialog, act, tries - 1);
        }
    });
}

// Runs the dialog modally without an owner, acting on it from its loop; gives its result.
template <typename Dialog>
INT_PTR RunDialogWith(Dialog& dialog, std::function<void(HWND)> act) {
    ActOnDialogSoon([&dialog] { return dialog.window; }, std::move(act));
    return dialog.DoModal(nullptr);
}

// A click on the dialog's button, as the button itself reports it.
inline void Click(HWND dialog, int id) {
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}
