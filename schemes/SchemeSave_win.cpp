#include "schemes/SchemeSave.h"

#include "schemes/AnsiCodePage_win.h"

#include <windows.h>

void SaveScheme(const std::string& schemesFolder, const SchemeEdit& edit) {
    SchemeSavePlan plan;
    if (!PlanSchemeSave(schemesFolder, edit, IsAnsiCodePageLeadByte, plan)) return;
    // An existing folder is saved into as it is.
    for (const std::string& folder : plan.folders) CreateDirectoryA(folder.c_str(), nullptr);
    for (const auto& copy : plan.copies) CopyFileA(copy.first.c_str(), copy.second.c_str(), FALSE);
    WriteSchemeFile(plan.schemeFile, plan.table, &plan.releases);
}
