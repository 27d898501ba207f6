#pragma once
// The scheme editor: a scheme's name and the sound of each of the 75 editable keys, opened by
// Manage Schemes for an existing or a new scheme. It writes nothing itself; after OK the caller
// saves editedName with rowFiles and rowSources laid over openedTable. OK refuses a name that
// cannot be a scheme's, with a message, and stays open.

#include "dialogs/ModalDialog.h"
#include "schemes/SchemeFile.h"
#include "schemes/SoundSchemesList.h"

#include <memory>
#include <string>

class DlgSchmCtrl : public ModalDialog {
public:
    // The scheme to show, whether it exists yet, and the folder that holds the schemes.
    void Prepare(const std::string& name, bool newScheme, const std::string& schemesFolderPath);
    INT_PTR DoModal(HWND owner);

    bool isNewScheme = false;
    std::string editedName;
    // The scheme read at opening, all its keys' sounds; empty for a new scheme.
    std::string openedName;
    KeySoundTable openedTable;
    // Its keys' release sounds, not shown and kept as they are.
    KeySoundTable openedReleases;
    SchemeRowFiles rowFiles;
    // Full paths of the sounds chosen during this opening; empty for the other rows.
    SchemeRowFiles rowSources;
    // The volume a row's sound, or a file picked in Change Sound's file dialog, plays at: the
    // program's current one, set by the caller.
    int playVolume = 100;

protected:
    void OnInitDialog() override;
    bool OnCommand(WORD id, WORD notification) override;

private:
    void OnChangeSound();
    void PlaySelectedRow();
    void OnCloseCommand(WORD id);
    void RefillKeyList();

    std::string schemesFolder_;
    // A scheme set of the editor's own from opening to closing: like every new scheme set, it
    // records the schemes folder in the settings when it is made.
    std::unique_ptr<SoundSchemesList> schemeReader_;
};
