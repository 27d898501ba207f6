#include "dialogs/DlgManageSchemes.h"

// Placeholder until the dialog template and its procedure exist.
INT_PTR DlgManageSchemes::DoModal(HWND) { return IDCANCEL; }
