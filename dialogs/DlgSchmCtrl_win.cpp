#include "dialogs/DlgSchmCtrl.h"

// Placeholder until the editor's template and procedure exist.
INT_PTR DlgSchmCtrl::DoModal(HWND) { return IDCANCEL; }
