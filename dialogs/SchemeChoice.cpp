#include "dialogs/SchemeChoice.h"

#include "schemes/KeyNames.h"

namespace {

constexpr char kSchemeFileName[] = "Scheme.txt";

}  // namespace

SchemeToOpen ChooseSchemeToOpen(bool editPressed, int selection,
                                const RememberedSchemeNames& names) {
    const bool remembered = selection >= 0 && static_cast<size_t>(selection) < names.size();
    if (editPressed && remembered) return {names[static_cast<size_t>(selection)], false};
    return {kNewSchemeName, true};
}

std::string KeyListLine(const char* keyName, const std::string& file) {
    return std::string(keyName) + " - " + file;
}

SchemeRowFiles RowFilesFromTable(const KeySoundTable& table) {
    SchemeRowFiles rows;
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = table[KeyCodeFromName(EditableKeyNames[i])];
    return rows;
}

bool PlanSchemeSave(const std::string& schemesFolder, const std::string& name,
                    const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources,
                    SchemeSavePlan& plan) {
    plan = SchemeSavePlan{};
    // Without a schemes folder the scheme would land relative to whatever the current folder is.
    if (schemesFolder.empty()) return false;
    plan.folder = schemesFolder + name + "\\";
    plan.schemeFile = plan.folder + kSchemeFileName;
    if (plan.schemeFile.size() > kMaxSchemeTextChars) return false;
    for (size_t i = 0; i < rowFiles.size(); ++i) {
        if (rowFiles[i].empty() || rowSources[i].empty()) continue;
        std::string target = plan.folder + rowFiles[i];
        if (target.size() > kMaxSchemeTextChars) continue;
        plan.copies.emplace_back(rowSources[i], std::move(target));
    }
    return true;
}
