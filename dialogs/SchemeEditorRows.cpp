#include "dialogs/SchemeEditorRows.h"

#include "schemes/KeyNames.h"

std::string KeyListLine(const char* keyName, const std::string& file) {
    return std::string(keyName) + " - " + file;
}

SchemeRowFiles RowFilesFromTable(const KeySoundTable& table) {
    SchemeRowFiles rows;
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = table[KeyCodeFromName(EditableKeyNames[i])];
    return rows;
}
