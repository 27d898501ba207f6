#pragma once
// The base of the program's modal dialogs. Each dialog runs from its template in the program's
// own resources; messages go to the class's own handling first, then to the base, which ends
// the dialog for a command from a control with identifier 1 to 7 (OK, Cancel and the like;
// Escape and the close box send Cancel).

#include <windows.h>

class ModalDialog {
public:
    ModalDialog() = default;
    virtual ~ModalDialog() = default;
    ModalDialog(const ModalDialog&) = delete;
    ModalDialog& operator=(const ModalDialog&) = delete;

    // The identifier that ended the dialog, or -1 when it could not be created.
    INT_PTR Run(UINT templateId, HWND owner);

    // The dialog window while it is open.
    HWND window = nullptr;

protected:
    // Fills the dialog when it opens. The opening is reported handled with FALSE, so the
    // platform does not move the keyboard focus; a dialog that wants it somewhere sets it.
    virtual void OnInitDialog() = 0;
    // A command from control id with its notification code; false passes it on to the base.
    virtual bool OnCommand(WORD id, WORD notification) = 0;
    // Any other message; false leaves it to the platform.
    virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result);

private:
    static INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);
};
