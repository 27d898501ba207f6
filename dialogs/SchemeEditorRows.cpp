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

std::string RowSoundPath(const std::string& schemesFolder, const std::string& openedName,
                         const std::string& rowFile, const std::string& rowSource) {
    if (!rowSource.empty()) return rowSource;
    if (rowFile.empty() || openedName.empty()) return std::string();
    const std::string path = schemesFolder + openedName + "\\" + rowFile;
    return path.size() <= kMaxSchemePathChars ? path : std::string();
}
