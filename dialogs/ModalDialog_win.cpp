#include "dialogs/ModalDialog.h"

namespace {

constexpr WORD kLastClosingCommand = 7;  // IDOK .. IDNO

}  // namespace

INT_PTR ModalDialog::Run(UINT templateId, HWND owner) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK ModalDialog::DialogProc(HWND dialog, UINT message, WPARAM wParam,
                                         LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        reinterpret_cast<ModalDialog*>(lParam)->window = dialog;
    }
    auto* self = reinterpret_cast<ModalDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
    // Messages sent before initialisation (font and size set-up) have no object yet.
    if (!self) return FALSE;
    const INT_PTR result = self->Dispatch(message, wParam, lParam);
    if (message == WM_NCDESTROY) self->window = nullptr;
    return result;
}

INT_PTR ModalDialog::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        OnInitDialog();
        return FALSE;
    }
    if (message == WM_COMMAND) {
        const WORD id = LOWORD(wParam);
        if (OnCommand(id, HIWORD(wParam))) return TRUE;
        if (id < IDOK || id > kLastClosingCommand) return FALSE;
        EndDialog(window, id);
        return TRUE;
    }
    INT_PTR result = FALSE;
    return HandleMessage(message, wParam, lParam, result) ? result : FALSE;
}

bool ModalDialog::HandleMessage(UINT, WPARAM, LPARAM, INT_PTR&) { return false; }
