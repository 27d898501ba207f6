#pragma once
// The Settings dialog: the volume of all key sounds, the filter for upper-case letters and
// whether sounds overlap. The caller copies its settings into volume, filter and overlap before
// DoModal and back after IDOK.

#include "dialogs/ModalDialog.h"

class DlgSettings : public ModalDialog {
public:
    // IDOK when the user confirmed, IDCANCEL when the user cancelled (Escape and the close box
    // too), -1 when the dialog could not be created.
    INT_PTR DoModal(HWND owner);

    // The caller's value until the slider moves, then the slider's position, 0 to 100.
    int volume = 100;
    // On OK, the index of the checked filter button (0 none, 1 Echo, 2 Inversion), -1 when
    // none is; until then the caller's value.
    int filter = 0;
    // The box is checked for any non-zero value; on OK, 1 when it is checked, else 0.
    int overlap = 0;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnVolumeMoved();
    void OnOk();
    void ShowVolume();
};
