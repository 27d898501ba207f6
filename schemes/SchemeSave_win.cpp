#include "schemes/SchemeSave.h"

#include "schemes/SchemeSavePlan.h"

#include <windows.h>

void SaveScheme(const std::string& schemesFolder, const std::string& name,
                const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources) {
    SchemeSavePlan plan;
    if (!PlanSchemeSave(schemesFolder, name, rowFiles, rowSources, plan)) return;
    // An existing folder is saved into as it is.
    CreateDirectoryA(plan.folder.c_str(), nullptr);
    for (const auto& copy : plan.copies) CopyFileA(copy.first.c_str(), copy.second.c_str(), FALSE);
    WriteSchemeFile(plan.schemeFile, rowFiles);
}
