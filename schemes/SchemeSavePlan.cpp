#include "schemes/SchemeSavePlan.h"

namespace {

constexpr char kSchemeFileName[] = "Scheme.txt";

}  // namespace

bool PlanSchemeSave(const std::string& schemesFolder, const std::string& name,
                    const SchemeRowFiles& rowFiles, const SchemeRowFiles& rowSources,
                    SchemeSavePlan& plan) {
    plan = SchemeSavePlan{};
    // Without a schemes folder the scheme would land relative to whatever the current folder is.
    if (schemesFolder.empty()) return false;
    plan.folder = schemesFolder + name + "\\";
    plan.schemeFile = plan.folder + kSchemeFileName;
    if (plan.schemeFile.size() > kMaxSchemePathChars) return false;
    for (size_t i = 0; i < rowFiles.size(); ++i) {
        if (rowFiles[i].empty() || rowSources[i].empty()) continue;
        std::string target = plan.folder + rowFiles[i];
        if (target.size() > kMaxSchemePathChars) continue;
        plan.copies.emplace_back(rowSources[i], std::move(target));
    }
    return true;
}
