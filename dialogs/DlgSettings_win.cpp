#include "dialogs/DlgSettings.h"

// Placeholder until the dialog template and its procedure exist.
INT_PTR DlgSettings::DoModal(HWND) { return IDCANCEL; }
