#pragma once
// The Settings dialog: the volume of all key sounds and the filter for upper-case letters.
// The caller copies its settings into volume and filter before Run and back after OK.

#include "dialogs/ModalDialog.h"

class DlgSettings : public ModalDialog {
public:
    // IDOK when the user confirmed, IDCANCEL otherwise.
    INT_PTR DoModal(HWND owner);

    // The slider's position, 0 to 100 once it was moved.
    int volume = 100;
    // Index of the checked filter button (0 none, 1 Echo, 2 Inversion), -1 when none is.
    int filter = 0;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnVolumeMoved();
    void OnOk();
    void ShowVolume();
};
