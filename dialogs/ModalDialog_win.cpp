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
    INT_PTR result = FALSE;
    if (self->HandleMessage(message, wParam, lParam, result)) return result;
    result = self->BaseMessage(message, wParam);
    if (message == WM_NCDESTROY) self->window = nullptr;
    return result;
}

INT_PTR ModalDialog::BaseMessage(UINT message, WPARAM wParam) {
    if (message != WM_COMMAND) return FALSE;
    const WORD id = LOWORD(wParam);
    if (id < IDOK || id > kLastClosingCommand) return FALSE;
    EndDialog(window, id);
    return TRUE;
}
