#pragma once
// The Settings dialog: the volume of all key sounds, the filter for upper-case letters, whether
// sounds overlap, the mute hotkey and the quiet rules. The caller copies its settings into the
// members before DoModal and back after IDOK.

#include "app/QuietSettings.h"
#include "dialogs/ModalDialog.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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
    // The hotkey control's word; on OK, the chord the control shows.
    uint16_t muteHotkey = 0;
    // The system refused muteHotkey: the dialog says that another program holds it.
    bool muteHotkeyTaken = false;
    // On OK, registers a chord that changed (or was refused before); false keeps the dialog
    // open, saying the chord is taken. Unset, every chord is taken as it is.
    std::function<bool(uint16_t)> tryMuteHotkey;
    // On OK, the boxes and the list as they stand.
    QuietSettings quiet;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification) override;
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, INT_PTR& result) override;

private:
    void OnVolumeMoved();
    void OnOk();
    void ShowVolume();
    bool AcceptMuteHotkey();
    void ShowMuteHotkeyTaken(bool taken);
    void OnAddProgram();
    void OnAddRunning();
    void OnRemoveProgram();
    void AddProgram(const std::string& name);
    std::vector<std::string> ListedPrograms() const;
    void EnableRemove();
};
